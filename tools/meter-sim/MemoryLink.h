#pragma once
// An in-memory link straight into a MeterSim: what the engine writes is handed to the meter
// as soon as a frame is complete, and the reply waits to be read. Nothing blocks: a read
// returns what is there, as a link whose time-out expired would.
#include "MeterSim.h"
#include "device/CSerial.h"

class MemoryLink final : public CSerial {
public:
    explicit MemoryLink(MeterSim& meter) : m_meter(meter) {}

    bool Open(const QString& portName, std::uint32_t parameter) override;
    void Close() override;
    bool IsOpen() const override { return m_open; }
    std::uint32_t Write(const std::uint8_t* buffer, std::uint32_t count) override;
    std::uint32_t Read(std::uint8_t* buffer, std::uint32_t count) override;
    bool ClearReceiveQueue() override;

    void SetOpenFails(bool fails) { m_openFails = fails; }
    int OpenCount() const { return m_opens; }
    int CloseCount() const { return m_closes; }
    QString LastPortName() const { return m_portName; }
    std::uint32_t LastParameter() const { return m_parameter; }

private:
    MeterSim& m_meter;
    FrameAssembler m_assembler;
    QByteArray m_pending;
    bool m_open = false;
    bool m_openFails = false;
    int m_opens = 0;
    int m_closes = 0;
    QString m_portName;
    std::uint32_t m_parameter = 0;
};
