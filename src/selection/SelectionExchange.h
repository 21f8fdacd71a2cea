#pragma once
// The device side of the "Группы", "Архивируемые данные" and "Отклонения" pages: each page's
// section of the model travels as one block (groups 1308 bytes, archive selection 56,
// deviation limits 500), byte for byte.
#include "device/PageRoutine.h"

class CProcessCommand;
class ProgressSink;
class UserPrompt;
struct ConfigModel;

bool ReadGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt& prompt, const PageHooks& hooks = {});
bool WriteGroups(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks = {});

bool ReadArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks = {});
bool WriteArchive(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                  UserPrompt& prompt, const PageHooks& hooks = {});

bool ReadLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                UserPrompt& prompt, const PageHooks& hooks = {});
bool WriteLimits(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model, ProgressSink& progress,
                 UserPrompt& prompt, const PageHooks& hooks = {});
