#pragma once
// Filling the virtual meter's blocks from a ".cfg" file.
#include <QString>

class MeterSim;

bool LoadMeterConfig(MeterSim& meter, const QString& path, QString* error);
