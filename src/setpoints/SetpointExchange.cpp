#include "SetpointExchange.h"

#include "SetpointBlocks.h"
#include "SetpointMessages.h"
#include "common/UserPrompt.h"
#include "device/DeviceMessages.h"
#include "device/Frame.h"
#include "device/ProcessCommand.h"
#include "device/ProgressSink.h"
#include "model/ConfigModel.h"
#include "model/ModelChanged.h"

namespace {

using namespace setpoints;

constexpr int kReadSteps = 11;
constexpr int kWriteSteps = 12;
constexpr int kClockPollPauseMs = 20;
constexpr int kClockPolls = 250;
// ReadBlock reports every byte received behind the 23rd: the data byte at an offset has
// arrived once the reported length reaches that offset plus two (a complete block of n
// bytes with its checksum byte reports n + 2).
bool DataByteArrived(int reported, int offset) { return reported >= offset + 2; }

enum class ReadResult { Ok, Refused, Short };

// One block read: Refused when ReadBlock failed (it has told the user), Short when fewer
// bytes came than the threshold asks for. *reported gets ReadBlock's length.
ReadResult ReadInto(CProcessCommand& engine, std::uint8_t command, std::uint8_t subCommand, int requested,
                    int threshold, QByteArray& block, int* reported)
{
    if (!engine.ReadBlockInto(command, subCommand, requested, block, reported))
        return ReadResult::Refused;
    return *reported < threshold ? ReadResult::Short : ReadResult::Ok;
}

struct BlockRead {
    std::uint8_t command;
    std::uint8_t subCommand;
    int requested;
    int threshold;
    void (*decode)(QByteArrayView, ConfigModel&);
    void (*whenRefused)(ConfigModel&);  // null: a refused block fails the read
};

void AveragingDefault(ConfigModel& model) { model.f_avg_period = 0; }

// The clock block is decoded apart: its mode byte only counts when it has arrived.
void NoDecode(QByteArrayView, ConfigModel&) {}

} // namespace

bool ReadSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt& prompt, bool refresh, const PageHooks& hooks)
{
    ApplyLinkSettings(engine, settings);
    progress.SetRange(0, kReadSteps);
    progress.SetStep(1);

    const std::uint8_t s = frame::kCmdSetpoints;
    const BlockRead reads[] = {
        {s, 1, kTimeBlockSize, kTimeBlockSize, DecodeTimeBlock, nullptr},
        {s, 2, kVoltageBlockSize, kVoltageBlockSize, DecodeVoltageBlock, nullptr},
        {s, 3, kFrequencyBlockSize, kFrequencyBlockSize, DecodeFrequencyBlock, nullptr},
        {s, 8, kAveragingBlockSize, kAveragingBlockSize, DecodeAveragingBlock, AveragingDefault},
        {s, 4, kUnbalanceBlockSize, kUnbalanceBlockSize, DecodeUnbalanceBlock, nullptr},
        {s, 5, kHarmonicsBlockSize, kHarmonicsBlockSize, DecodeHarmonicsBlock, nullptr},
        {s, 6, kInterharmonicsBlockSize, kInterharmonicsBlockSize, DecodeInterharmonicsBlock, nullptr},
        {frame::kCmdClock, 1, kClockBlockSize, kClockBlockSize - 1, NoDecode, nullptr},
        {frame::kCmdClockCorrection, 1, kCorrectionBlockSize, kCorrectionBlockSize, DecodeCorrectionBlock, nullptr},
        {frame::kCmdInterfaces, 1, kInterfacesBlockSize, kInterfacesBlockSize, DecodeInterfacesBlock, nullptr},
        {s, 7, kCalculationBlockSize, kCalculationBlockSize + 1, DecodeCalculationBlock, nullptr},
        {frame::kCmdRapidVoltageChange, 1, kRvcBlockSize, kRvcBlockSize, DecodeRvcBlock, ApplyRvcDefaults},
    };
    for (const BlockRead& r : reads) {
        QByteArray block;
        int reported = 0;
        switch (ReadInto(engine, r.command, r.subCommand, r.requested, r.threshold, block, &reported)) {
        case ReadResult::Refused:
            if (!r.whenRefused)
                return false;
            r.whenRefused(model);
            continue;
        case ReadResult::Short:
            prompt.Warning(msg::kReadFailure);
            return false;
        case ReadResult::Ok:
            break;
        }
        progress.StepIt();
        if (r.command == frame::kCmdClock) {
            // A reply may pass the length test without its last bytes; a mode byte that never
            // came must not turn into "stopped".
            DecodeClockBlock(block, model, DataByteArrived(reported, kClockModeOffset));
        } else {
            r.decode(block, model);
        }
    }

    model.device_address = std::uint16_t(settings.deviceAddress);
    if (refresh) {
        RunHook(hooks.loadPage);
        modelChanged().Set();
    }
    progress.SetPosition(kReadSteps);
    return true;
}

namespace {

// One write of the sequence; false ends the write (the engine has told the user).
class SetpointWriter {
public:
    SetpointWriter(CProcessCommand& engine, ProgressSink& progress, SetpointWriteResult& result)
        : m_engine(engine), m_progress(progress), m_result(result)
    {
    }

    bool Write(std::uint8_t command, std::uint8_t subCommand, const QByteArray& data)
    {
        std::uint8_t status = 0;
        if (!m_engine.WriteBlock(command, subCommand, reinterpret_cast<const std::uint8_t*>(data.constData()),
                                 std::uint16_t(data.size()), &status))
            return false;
        if (status == frame::kStatusNotStopped)
            m_result.notStopped = true;
        else if (status == frame::kStatusRefused)
            m_result.notAllWritten = true;
        return true;
    }

    bool WriteAndStep(std::uint8_t command, std::uint8_t subCommand, const QByteArray& data)
    {
        if (!Write(command, subCommand, data))
            return false;
        m_progress.StepIt();
        return true;
    }

private:
    CProcessCommand& m_engine;
    ProgressSink& m_progress;
    SetpointWriteResult& m_result;
};

enum class ClockRead { Stopped, Running, Failed };

ClockRead ReadClockState(CProcessCommand& engine, UserPrompt& prompt)
{
    QByteArray block;
    int reported = 0;
    const ReadResult r = ReadInto(engine, frame::kCmdClock, 1, kClockBlockSize, kClockBlockSize, block, &reported);
    if (r == ReadResult::Refused)
        return ClockRead::Failed;
    // Without its mode byte the answer says nothing about the meter's state.
    if (r == ReadResult::Short || !DataByteArrived(reported, kClockModeOffset)) {
        prompt.Warning(msg::kClockReadFailure);
        return ClockRead::Failed;
    }
    return block[kClockModeOffset] == 0 ? ClockRead::Stopped : ClockRead::Running;
}

enum class ClockOutcome { Continue, End };

ClockOutcome SetClock(CProcessCommand& engine, ConfigModel& model, ProgressSink& progress, UserPrompt& prompt,
                      const PageHooks& hooks, SetpointWriter& writer)
{
    const ClockRead state = ReadClockState(engine, prompt);
    if (state == ClockRead::Failed)
        return ClockOutcome::End;
    if (state == ClockRead::Running)
        return prompt.AskYesNo(msg::kClockNeedsStopQuestion) ? ClockOutcome::Continue : ClockOutcome::End;

    RunHook(hooks.storeTimePage);
    const QByteArray clock = model.use_pc_time
        ? EncodeClockSetBlock(hooks.now ? hooks.now() : QDateTime::currentDateTime())
        : EncodeClockSetBlock(model);
    if (!writer.Write(frame::kCmdClock, 0x81, clock))
        return ClockOutcome::End;

    // Setting the clock clears the meter's archives; it takes setpoints again once it is
    // back in stop.
    for (int poll = 0; poll < kClockPolls; ++poll) {
        progress.Pause(kClockPollPauseMs);
        const ClockRead after = ReadClockState(engine, prompt);
        if (after == ClockRead::Failed)
            return ClockOutcome::End;
        if (after == ClockRead::Stopped)
            return ClockOutcome::Continue;
    }
    prompt.Warning(msg::kSetpointsNeedStop);
    return ClockOutcome::End;
}

// The sequence up to the reports; false when it ended early.
bool WriteSequence(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                   ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks, SetpointWriter& writer)
{
    const bool ticked = hooks.writeTimeTicked ? hooks.writeTimeTicked() : model.write_time != 0;
    if (ticked && !prompt.AskYesNo(msg::kSetClockQuestion))
        return false;
    RunHook(hooks.storePage);
    if (model.write_time && SetClock(engine, model, progress, prompt, hooks, writer) == ClockOutcome::End)
        return false;
    progress.StepIt();

    const std::uint8_t s = frame::kCmdSetpoints;
    const std::uint8_t modeSub = 0x83;
    if (model.device_mode == kDeviceModeStop
        && !writer.WriteAndStep(frame::kCmdClock, modeSub, QByteArray(1, char(ModeCodeFor(kDeviceModeStop)))))
        return false;

    struct BlockWrite {
        std::uint8_t command;
        std::uint8_t subCommand;
        QByteArray data;
    };
    const BlockWrite writes[] = {
        {s, 0x81, EncodeTimeBlock(model)},
        {s, 0x82, EncodeVoltageBlock(model)},
        {s, 0x83, EncodeFrequencyBlock(model)},
        {s, 0x88, EncodeAveragingBlock(model)},
        {s, 0x84, EncodeUnbalanceBlock(model)},
        {s, 0x85, EncodeHarmonicsBlock(model)},
        {s, 0x86, EncodeInterharmonicsBlock(model)},
        {frame::kCmdClockCorrection, 0x81, EncodeAutoCorrectionBlock(model)},
        {frame::kCmdClockCorrection, 0x82, EncodeSoftCorrectionBlock(model)},
        {frame::kCmdInterfaces, 0x81, EncodeInterfacesBlock(model)},
        {s, 0x87, EncodeCalculationBlock(model)},
        {frame::kCmdRapidVoltageChange, 0x81, EncodeRvcBlock(model)},
    };
    for (const BlockWrite& w : writes) {
        if (!writer.WriteAndStep(w.command, w.subCommand, w.data))
            return false;
    }

    if (model.device_mode != kDeviceModeStop) {
        if (!writer.WriteAndStep(frame::kCmdClock, modeSub, QByteArray(1, char(ModeCodeFor(model.device_mode)))))
            return false;
        // After a reset the meter stands stopped.
        if (model.device_mode == kDeviceModeReset) {
            model.device_mode = kDeviceModeStop;
            RunHook(hooks.loadPage);
        }
    }

    if (model.address_write_flag) {
        const bool same = model.device_address == std::uint16_t(settings.deviceAddress);
        if ((same || prompt.AskYesNo(msg::kChangeAddressQuestion))
            && !writer.Write(frame::kCmdNetworkAddress, 0x81, EncodeAddressBlock(model.device_address)))
            return false;
    }
    return true;
}

} // namespace

SetpointWriteResult WriteSetpoints(const LinkSettings& settings, CProcessCommand& engine, ConfigModel& model,
                                   ProgressSink& progress, UserPrompt& prompt, const PageHooks& hooks)
{
    SetpointWriteResult result;
    ApplyLinkSettings(engine, settings);
    progress.SetRange(0, kWriteSteps);
    progress.SetStep(1);
    SetpointWriter writer(engine, progress, result);
    if (!WriteSequence(settings, engine, model, progress, prompt, hooks, writer))
        return result;

    progress.StepIt();
    progress.SetPosition(kWriteSteps);
    result.finished = true;
    if (result.notStopped)
        prompt.Error(msg::kNotStoppedNotAllWritten);
    if (result.notAllWritten)
        prompt.Error(msg::kNotAllWritten);
    return result;
}
