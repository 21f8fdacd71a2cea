#pragma once
// A configuration as one JSON object (the "dump" command): every field the ".cfg" file
// stores, keyed by its ConfigModel name, in file order. Doubles and floats are printed as
// the shortest text that reads back to the same value of their own precision (a value that
// is not finite, possible only from a damaged file, prints as null); texts are converted
// from cp1251 to UTF-8; raw sections are lower-case hex.
#include "model/ConfigModel.h"

#include <QByteArray>
#include <QByteArrayView>

struct ConfigField;

QByteArray ConfigToJson(const ConfigModel& model);

// One field's value, or one element of an array field, exactly as the dump prints it.
QByteArray FieldJson(const ConfigField& field, const ConfigModel& model);
QByteArray ElementJson(const ConfigField& field, const ConfigModel& model, int element);

// The dump's notation for values that are parts of fields.
QByteArray JsonNumber(double value);
QByteArray JsonNumber(float value);
QByteArray JsonText(const QByteArray& cp1251Bytes);
QByteArray JsonHex(QByteArrayView bytes);
