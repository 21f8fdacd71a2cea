#pragma once
// The stored fields of a configuration, once, in ".cfg" file order: the file reader and
// writer, the JSON dump and the command line's diff and set all walk this table, so a field
// is named, typed and placed in one row. address_write_flag is not stored and has no row.
#include "model/ConfigModel.h"

#include <QByteArray>

#include <limits>
#include <span>
#include <string_view>
#include <utility>

enum class FieldType : quint8 {
    I32, I16, U16, U8, Bool, F32, F64,
    Text,       // QByteArray of cp1251 bytes
    Raw,        // std::array<quint8, N> kept and shown as bytes
    Groups,     // the six group records, stored as the 1308-byte groups block
    LimitSet,   // VoltageLimitSet: three levels, then dev column by column
};

// The parts of the file that a reader treats differently when the file ends inside them.
enum class FileSection : quint8 { Main, Gprs, Address, Calc, Tail };

struct ConfigField {
    static constexpr double kNoLimit = std::numeric_limits<double>::infinity();

    const char* name;        // the ConfigModel member, as dump prints it
    FieldType type;
    FileSection section;
    bool array;              // a std::array of values: dump prints a JSON array
    int count;               // elements of an array, bytes of a raw section, else 1
    // On the first of n arrays of equal length whose elements alternate in the file
    // (a[0] b[0] a[1] b[1] ...): n. The following n - 1 rows carry 1.
    int interleave;
    // The values the page accepts, within the type's own range.
    double min;
    double max;
    int maxLength;           // characters the page takes for a text, 0 for no limit
    void* (*at)(ConfigModel&);   // the first element

    int ElementCount() const { return array ? count : 1; }

    template <class T>
    T* Elements(ConfigModel& model) const { return static_cast<T*>(at(model)); }
    template <class T>
    const T* Elements(const ConfigModel& model) const
    {
        // at() only takes an address; the model is not changed through it.
        return static_cast<const T*>(at(const_cast<ConfigModel&>(model)));
    }
};

std::span<const ConfigField> ConfigFields();

// The row of a field by its name, or nullptr.
const ConfigField* FindConfigField(std::string_view name);

// Calls fn with each of the elements [first, first + n) of field f, typed: qint32&, qint16&,
// quint16&, quint8&, bool&, float&, double&, QByteArray&; a raw section comes whole as
// std::span<quint8>, the groups as their array, a limit set as VoltageLimitSet& (n is 1 for
// these). Everything is const for a const model.
template <class Model, class Fn>
void VisitElements(const ConfigField& f, Model& m, int first, int n, Fn&& fn)
{
    const auto each = [&](auto* values) {
        for (int e = first; e < first + n; ++e)
            fn(values[e]);
    };
    switch (f.type) {
    case FieldType::I32: each(f.Elements<qint32>(m)); return;
    case FieldType::I16: each(f.Elements<qint16>(m)); return;
    case FieldType::U16: each(f.Elements<quint16>(m)); return;
    case FieldType::U8: each(f.Elements<quint8>(m)); return;
    case FieldType::Bool: each(f.Elements<bool>(m)); return;
    case FieldType::F32: each(f.Elements<float>(m)); return;
    case FieldType::F64: each(f.Elements<double>(m)); return;
    case FieldType::Text: each(f.Elements<QByteArray>(m)); return;
    case FieldType::Raw: fn(std::span(f.Elements<quint8>(m), size_t(f.count))); return;
    case FieldType::Groups: fn(*f.Elements<std::array<ParameterGroupRecord, kGroupCount>>(m)); return;
    case FieldType::LimitSet: fn(*f.Elements<VoltageLimitSet>(m)); return;
    }
}

template <class Model, class Fn>
void VisitElement(const ConfigField& f, Model& m, int e, Fn&& fn)
{
    VisitElements(f, m, e, 1, std::forward<Fn>(fn));
}
