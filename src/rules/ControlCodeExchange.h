#pragma once
// The device side of the pulse I/O page: the rules are compiled into the 512-byte
// control-code block before a write (nothing is sent when they do not compile), and the
// block read from a meter is decoded back into rule text.
#include "device/PageRoutine.h"

class CProcessCommand;
class ProgressSink;
class TermDictionary;
class UserPrompt;
struct ConfigModel;

// On success *text gets the decoded rules (cp1251) and the hooks' showText receives them;
// the page's editor carries the text until it is stored.
bool ReadControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                     ProgressSink& progress, UserPrompt& prompt, QByteArray* text,
                     const PageHooks& hooks = {});

// Compiles pulse_rules_text (after storePage) and writes the block. *messages and the hooks'
// showMessages get the compiler's lines.
bool WriteControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                      ConfigModel& model, ProgressSink& progress, QStringList* messages = nullptr,
                      const PageHooks& hooks = {});
