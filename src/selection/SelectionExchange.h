#pragma once
// The device side of the "Группы", "Архивируемые данные" and "Отклонения" pages: each page's
// section of the model travels as one block (groups 1308 bytes, archive selection 56,
// deviation limits 500), byte for byte.
#include "device/PageRoutine.h"

class CProcessCommand;
class ProgressSink;
class UserPrompt;
struct ConfigModel;

// The three pages whose block is their section of the model.
enum class SelectionBlockId { Groups, Archive, Limits };

bool ReadSelection(SelectionBlockId page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks = {});
bool WriteSelection(SelectionBlockId page, const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                    ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks = {});
