#pragma once
// A configuration as one JSON object (the "dump" command): every field the ".cfg" file
// stores, keyed by its ConfigModel name, in file order. Doubles and floats are printed as
// the shortest text that reads back to the same value of their own precision (a value that
// is not finite, possible only from a damaged file, prints as null); texts are converted
// from cp1251 to UTF-8; raw sections are lower-case hex.
#include "model/ConfigModel.h"

#include <QByteArray>

QByteArray ConfigToJson(const ConfigModel& model);
