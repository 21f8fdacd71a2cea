#pragma once
// The configuration of one meter: every setting the program shows, edits, exchanges with
// the meter, saves to a ".cfg" file and prints. A plain value: copying it copies everything.
//
// Representation choices:
// - Texts (modification, firmware_version, pulse_rules_text, gprs_apn, gprs_extra) are
//   QByteArray holding cp1251 bytes exactly; convert with cp1251::Decode/Encode at the GUI.
// - The raw sections (archive_mask, deviation_limits, identity_block) are std::array<quint8, N>
//   of their exact device size; the groups are six 218-byte ParameterGroupRecord values.
// - Fields are declared in the order the meter's configuration has always listed them; the
//   file order is different and lives in the field table (ConfigFields.cpp).
#include "selection/ParameterCatalogue.h"

#include <QByteArray>

#include <array>

// Percent limits of one voltage kind (line-to-line or phase).
struct VoltageLimitSet {
    // Columns of every deviation slot.
    enum Column { steady = 0, signal = 1, plusminus = 2 };
    static constexpr int kSlots = 8;
    static constexpr int kColumns = 3;

    double dip_level = 0.0;
    double swell_level = 0.0;
    double interruption_level = 0.0;
    // Slot-major: dev[slot][column]. Slots 5 and 6 mean different limits in the two sets:
    // line_limits has i_normal_up, ii_normal_down there, phase_limits ii_normal_down,
    // i_normal_up.
    std::array<std::array<double, kColumns>, kSlots> dev{};

    friend bool operator==(const VoltageLimitSet&, const VoltageLimitSet&) = default;
};

// One parameter group exactly as the meter keeps it: 218 bytes, count (u16 LE), a 16-byte
// name (up to 15 cp1251 bytes and a zero byte) and 50 parameter identifiers. Bytes after the
// name's zero byte and entries beyond the count are kept as they are, so a group read from
// a meter or a file goes back out unchanged.
struct ParameterGroupRecord {
    static constexpr int kSize = 218;
    static constexpr int kNameSize = 16;
    static constexpr int kMaxParameters = 50;

    quint16 count = 0;
    std::array<quint8, kNameSize> name{};
    std::array<ParameterId, kMaxParameters> parameters{};

    // The name's bytes up to the zero byte, at most 15 of them even when the zero byte is
    // missing.
    QByteArray NameText() const;
    // Replaces the name with at most 15 bytes of text; the remaining bytes become zero.
    void SetNameText(const QByteArray& text);
    // min(count, 50): never trust a count from a meter or a file further than the record.
    int UsableCount() const { return count < kMaxParameters ? count : kMaxParameters; }

    // The exact 218 bytes (little-endian), and back; FromBytes reads missing bytes of a
    // shorter input as zero and ignores bytes beyond the record.
    QByteArray ToBytes() const;
    static ParameterGroupRecord FromBytes(QByteArrayView bytes);

    friend bool operator==(const ParameterGroupRecord&, const ParameterGroupRecord&) = default;
};
static_assert(sizeof(ParameterGroupRecord) == ParameterGroupRecord::kSize);

constexpr int kGroupCount = 6;
constexpr int kGroupsBlockSize = kGroupCount * ParameterGroupRecord::kSize;  // 1308
constexpr int kArchiveMaskSize = 56;
constexpr int kDeviationLimitsSize = 500;
constexpr int kIdentityBlockSize = 29;
constexpr int kHarmonicCount = 49;   // orders 2..50 (index i is order i + 2)
constexpr int kLoadPeriodBoundaries = 8;
constexpr int kCalcChoiceCount = 9;
constexpr int kGprsProfiles = 2;

// The six group records as the 1308-byte groups block, and back (missing bytes of a shorter
// block read as zero).
QByteArray GroupsToBytes(const std::array<ParameterGroupRecord, kGroupCount>& groups);
std::array<ParameterGroupRecord, kGroupCount> GroupsFromBytes(QByteArrayView bytes);

struct ConfigModel {
    // Identity
    qint32 connection_address = 0;
    QByteArray modification;
    QByteArray firmware_version;

    // Voltage
    double u_nom_phase = 0.0;
    double u_nom_line = 0.0;
    qint32 ratio_index = 0;
    qint32 wiring_scheme = 0;   // 0 three-wire, 1 four-wire
    qint32 input_type = 0;      // 0 direct, 1 via voltage transformers
    VoltageLimitSet line_limits;
    VoltageLimitSet phase_limits;

    // Coefficients, in 0.01 %
    quint16 ku_max = 0;
    quint16 ku_normal = 0;
    quint16 k2u_max = 0;
    quint16 k2u_normal = 0;
    quint16 k0u_max = 0;
    quint16 k0u_normal = 0;
    std::array<quint16, kHarmonicCount> harm_normal{};   // index i: order i + 2
    std::array<quint16, kHarmonicCount> harm_max{};
    std::array<quint16, kHarmonicCount> iharm_normal{};  // index i: order i + 1
    std::array<quint16, kHarmonicCount> iharm_max{};
    qint32 coeff_auto = 0;

    // Frequency: nominal in 0.001 Hz, deviations in 0.01 Hz
    quint16 f_nom = 0;
    qint16 df_max_up = 0;
    qint16 df_normal_up = 0;
    qint16 df_max_down = 0;
    qint16 df_normal_down = 0;

    // Flicker
    double pst_max = 0.0;
    double pst_normal = 0.0;
    double plt_max = 0.0;
    double plt_normal = 0.0;

    // Time
    qint32 summer_month = 0;
    qint32 summer_day = 0;
    qint32 set_year = 0;
    qint32 set_month = 0;
    qint32 set_day = 0;
    qint32 set_second = 0;
    qint32 set_minute = 0;
    qint32 set_hour = 0;
    std::array<qint32, kLoadPeriodBoundaries> load_period_minute{};
    std::array<qint32, kLoadPeriodBoundaries> load_period_hour{};
    qint32 winter_month = 0;
    qint32 winter_day = 0;
    qint32 auto_correction_s = 0;
    qint32 soft_correction_s = 0;
    qint32 week_start_day = 0;
    qint32 day_start_hour = 0;
    quint8 time_zone = 0;       // not assigned by "new"
    quint8 summer_auto = 0;
    quint8 winter_auto = 0;
    quint8 dst_mode = 0;        // not assigned by "new"
    qint32 use_pc_time = 0;
    qint32 write_time = 0;

    // Voltage, continued
    qint32 clear_archive_three_wire = 0;

    // System
    qint32 rs232_mode_ext = 0;
    qint32 rs232_mode = 0;
    qint32 rs232_baud = 0;
    qint32 modem_rings = 0;
    qint32 sys_byte4 = 0;
    qint32 rs485_mode = 0;
    qint32 rs485_baud = 0;
    qint32 device_mode = 0;

    // Calculation, first part
    quint8 calc_opt_a = 0;
    quint8 calc_opt_b = 0;

    // Parameter selection
    std::array<ParameterGroupRecord, kGroupCount> groups{};
    std::array<quint8, kArchiveMaskSize> archive_mask{};

    // Calculation, second part
    quint16 calc_flags = 0;
    std::array<quint8, kCalcChoiceCount> calc_choice{};
    quint8 calc_spare = 0;      // not assigned by "new"

    // Rules and limits
    QByteArray pulse_rules_text;
    std::array<quint8, kDeviationLimitsSize> deviation_limits{};

    // GPRS profiles 0 and 1 (never exchanged with the meter)
    std::array<quint8, kGprsProfiles> gprs_wait_a{};
    std::array<quint8, kGprsProfiles> gprs_wait_b{};
    std::array<QByteArray, kGprsProfiles> gprs_apn;
    std::array<QByteArray, kGprsProfiles> gprs_extra;

    // Voltage and identity, continued
    bool reference_nominal = false;
    quint16 device_address = 0;
    qint32 address_write_flag = 0;   // never stored in the file

    // Rapid voltage changes, %
    float rvc_threshold_phase = 0.0f;
    float rvc_hysteresis_phase = 0.0f;
    float rvc_threshold_line = 0.0f;
    float rvc_hysteresis_line = 0.0f;

    // Frequency and identity, continued
    quint16 f_avg_period = 0;
    std::array<quint8, kIdentityBlockSize> identity_block{};   // not assigned by "new"

    friend bool operator==(const ConfigModel&, const ConfigModel&) = default;
};

// The access point name both GPRS profiles get in a new configuration.
inline constexpr char kDefaultGprsApn[] = "internet";

// The year of the computer's local clock, or 0 when it cannot be obtained.
int CurrentLocalYear();

// Assigns every default of a new configuration. time_zone, dst_mode, calc_spare and
// identity_block are not assigned and keep their values (so "new" after an identification
// keeps the meter's identity bytes). set_year comes from localYear (0 = clock unavailable).
void ApplyNewDocumentDefaults(ConfigModel& model, int localYear);
void ApplyNewDocumentDefaults(ConfigModel& model);   // with CurrentLocalYear()

// The GPRS part of the defaults alone (a file that ends inside the GPRS block gets them).
void ApplyGprsDefaults(ConfigModel& model);

// A model freshly constructed and given the new-document defaults.
ConfigModel NewConfigModel();
