#pragma once
// The meter's setpoint blocks: one pair of pure functions per block between the model's
// fields and the block's bytes (little-endian), with the meter's units and roundings.
// Decoders take at least the block's length in bytes; encoders return exactly it.
#include "model/ConfigModel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

#include <cstdint>

namespace setpoints {

// Block lengths.
constexpr int kTimeBlockSize = 28;            // 0x09/1
constexpr int kVoltageBlockSize = 128;        // 0x09/2
constexpr int kFrequencyBlockSize = 10;       // 0x09/3
constexpr int kUnbalanceBlockSize = 8;        // 0x09/4
constexpr int kHarmonicsBlockSize = 200;      // 0x09/5
constexpr int kInterharmonicsBlockSize = 196; // 0x09/6
constexpr int kCalculationBlockSize = 11;     // 0x09/7
constexpr int kAveragingBlockSize = 2;        // 0x09/8
constexpr int kClockBlockSize = 19;           // 0x0A/1 (read)
constexpr int kClockSetBlockSize = 6;         // 0x0A/0x81
constexpr int kCorrectionBlockSize = 2;       // 0x0F/1 (read; written as two 1-byte blocks)
constexpr int kInterfacesBlockSize = 7;       // 0x11/1
constexpr int kRvcBlockSize = 4;              // 0x16/1
constexpr int kAddressBlockSize = 2;          // 0x0C/0x81
constexpr int kClockModeOffset = 18;

// Operating-mode bytes of the clock block.
constexpr std::uint8_t kModeStop = 0;
constexpr std::uint8_t kModeRunning = 1;
constexpr std::uint8_t kModeReset = 2;
constexpr std::uint8_t kModeCalibration = 4;
constexpr std::uint8_t kModeVerification = 5;

// device_mode values of the model.
constexpr int kDeviceModeStart = 0;
constexpr int kDeviceModeStop = 1;
constexpr int kDeviceModeReset = 2;

// The meter's unit conversions.
double VoltageFromMillivolts(std::uint32_t millivolts);   // single-precision quotient
std::uint32_t VoltageToMillivolts(double volts);          // truncated toward zero
double PercentFromHundredths(int hundredths);             // single-precision quotient
std::uint16_t PercentToHundredths(double percent);        // halves away from zero, low 16 bits
float RvcThresholdFromByte(std::uint8_t value);
std::uint8_t RvcThresholdToByte(float percent);           // single precision, halves away from zero
float RvcHysteresisFromByte(std::uint8_t value);
std::uint8_t RvcHysteresisToByte(float percent);          // truncated toward zero

QByteArray EncodeTimeBlock(const ConfigModel& model);
void DecodeTimeBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeVoltageBlock(const ConfigModel& model);
void DecodeVoltageBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeFrequencyBlock(const ConfigModel& model);
void DecodeFrequencyBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeUnbalanceBlock(const ConfigModel& model);
void DecodeUnbalanceBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeHarmonicsBlock(const ConfigModel& model);
void DecodeHarmonicsBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeInterharmonicsBlock(const ConfigModel& model);
void DecodeInterharmonicsBlock(QByteArrayView block, ConfigModel& model);

// calc_flags and calc_choice; calc_spare is not part of the block.
QByteArray EncodeCalculationBlock(const ConfigModel& model);
void DecodeCalculationBlock(QByteArrayView block, ConfigModel& model);

// 10 s or 20 s; any other period leaves f_avg_period as it is.
QByteArray EncodeAveragingBlock(const ConfigModel& model);
void DecodeAveragingBlock(QByteArrayView block, ConfigModel& model);

// The clock date and time into set_*; the mode byte into device_mode when withMode.
void DecodeClockBlock(QByteArrayView block, ConfigModel& model, bool withMode = true);
// day, month, year - 2000, hour, minute, second.
QByteArray EncodeClockSetBlock(int year, int month, int day, int hour, int minute, int second);
QByteArray EncodeClockSetBlock(const ConfigModel& model);
QByteArray EncodeClockSetBlock(const QDateTime& localTime);

// Mode byte of the clock block <-> device_mode; nullopt-like -1 for a byte with no mode.
int DeviceModeFromByte(std::uint8_t modeByte);
// The code 0x0A/0x83 carries for a device_mode.
std::uint8_t ModeCodeFor(int deviceMode);

void DecodeCorrectionBlock(QByteArrayView block, ConfigModel& model);
QByteArray EncodeAutoCorrectionBlock(const ConfigModel& model);  // 0x0F/0x81
QByteArray EncodeSoftCorrectionBlock(const ConfigModel& model);  // 0x0F/0x82

QByteArray EncodeInterfacesBlock(const ConfigModel& model);
void DecodeInterfacesBlock(QByteArrayView block, ConfigModel& model);

QByteArray EncodeRvcBlock(const ConfigModel& model);
void DecodeRvcBlock(QByteArrayView block, ConfigModel& model);
// What a meter without the rapid-voltage-change block gives.
void ApplyRvcDefaults(ConfigModel& model);

QByteArray EncodeAddressBlock(std::uint16_t address);

} // namespace setpoints
