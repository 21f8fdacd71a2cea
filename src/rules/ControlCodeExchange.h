#pragma once
// The device side of the pulse I/O page: the rules are compiled into the 512-byte
// control-code block before a write (nothing is sent when they do not compile), and the
// block read from a meter is decoded back into rule text.
#include "device/PageRoutine.h"

#include <QByteArray>
#include <QStringList>

class CProcessCommand;
class ProgressSink;
class TermDictionary;
class UserPrompt;
struct ConfigModel;

struct ControlCodeHooks {
    std::function<void()> storePage;                      // editor -> pulse_rules_text, before a write
    std::function<void(const QByteArray&)> showText;      // the decoded text into the editor
    std::function<void(const QStringList&)> showMessages; // the compiler's lines
};

// On success *text gets the decoded rules (cp1251) and showText receives them; the model's
// pulse_rules_text is left alone, the page's editor carries the text until it is stored.
bool ReadControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                     ProgressSink& progress, UserPrompt& prompt, QByteArray* text,
                     const ControlCodeHooks& hooks = {});

// Compiles pulse_rules_text (after storePage) and writes the block. *messages gets the
// compiler's lines.
bool WriteControlCode(const LinkSettings& settings, CProcessCommand& engine, const TermDictionary& dictionary,
                      ConfigModel& model, ProgressSink& progress, QStringList* messages = nullptr,
                      const ControlCodeHooks& hooks = {});
