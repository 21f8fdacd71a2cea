#pragma once
// What every page routine that talks to the meter receives: the connection values of the
// connection page, and the hooks through which it reaches back into its page (store the
// controls into the model before a write, load them from the model after a read).
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

class CProcessCommand;
class TermDictionary;

struct LinkSettings {
    QString portName;             // serial port name or the meter's IP address text
    std::uint32_t linkParameter = 0;  // baud rate or TCP port
    int deviceAddress = 0;        // 1..65535 once tested
};

// Hands the three connection values to the engine, as every page routine does first.
void ApplyLinkSettings(CProcessCommand& engine, const LinkSettings& settings);

// The one pair of hooks a page gives its read and write routines. Every member may stay
// empty (the command-line tool runs the routines without a page); a page fills what its
// routine uses.
struct PageHooks {
    std::function<void()> storePage;  // controls -> model, before a write
    std::function<void()> loadPage;   // model -> controls, after a read (and after a reset)

    // "Уставки": whether the time sub-page's "Запись времени и даты" box is ticked, asked
    // before the sub-pages are stored (the model's write_time when unset); storing the time
    // sub-page alone before the clock is set; the computer's local time for "use the PC's
    // time" (the current time when unset).
    std::function<bool()> writeTimeTicked;
    std::function<void()> storeTimePage;
    std::function<QDateTime()> now;

    // "Импульсные входы/выходы": the dictionary the rules are compiled and decoded with, the
    // decoded text into the editor (without it, a read puts the text into pulse_rules_text),
    // and the compiler's lines into the message list.
    const TermDictionary* dictionary = nullptr;
    std::function<void(const QByteArray&)> showText;
    std::function<void(const QStringList&)> showMessages;
};

inline void RunHook(const std::function<void()>& hook)
{
    if (hook)
        hook();
}

class UserPrompt;

// After a single-block write the engine reported success with: 0 accepted, 2 (the meter
// answered 2 or 3: it refused the data) or 18 (it must be stopped first). A refusal is a
// failure the user sees, with the texts of the setpoint write; true when accepted.
bool WriteAccepted(std::uint8_t statusOut, UserPrompt& prompt);
