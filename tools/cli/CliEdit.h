#pragma once
// diff and set: comparing and changing ".cfg" files without a meter.
#include <QStringList>

int CmdDiff(const QStringList& args);
int CmdSet(const QStringList& args);
