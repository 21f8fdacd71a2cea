#pragma once
// The ".cfg" file: the whole ConfigModel field by field in one fixed order, no header, no
// version, no checksum. Files written by older releases simply end earlier: a file that
// ends inside the GPRS profiles loads with their defaults, one that ends inside the
// calculation block loads with a warning; any other early end is a malformed file.
#include "model/ConfigModel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class UserPrompt;

// The report for a truncated or malformed file.
QString UnexpectedFileFormatText();
// The warning for a file without the calculation block.
QString MissingCalculationText();

// Reads a whole configuration from bytes. On success the fields the bytes carry are stored
// into model (the others keep their values) and true is returned; a warning may have been
// shown through prompt. On failure model is left exactly as it was, *error (when given) gets
// the report and false is returned.
bool ReadConfig(QByteArrayView bytes, ConfigModel& model, UserPrompt& prompt, QString* error);

// The file bytes of a configuration (8-bit texts, shortest length prefixes).
QByteArray WriteConfig(const ConfigModel& model);

// File wrappers. Loading reads the whole file, then ReadConfig. Saving goes through
// SaveFileBytes (common/SaveFile.h): a regular file is replaced only when everything was
// written, so a failed save leaves the previous file intact; a device or FIFO is written into.
bool LoadConfigFile(const QString& path, ConfigModel& model, UserPrompt& prompt, QString* error);
bool SaveConfigFile(const QString& path, const ConfigModel& model, QString* error);
