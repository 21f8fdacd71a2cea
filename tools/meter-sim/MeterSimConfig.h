#pragma once
// Filling the virtual meter's blocks from a configuration, as if the program had written
// every page of it.
#include <QString>

class MeterSim;
struct ConfigModel;

// Every block the configuration carries: setpoints, mode, corrections, interfaces, groups,
// archive selection, deviation limits (the control code is left as it is).
void SetMeterBlocks(MeterSim& meter, const ConfigModel& model);

// Loads a ".cfg" file and sets its blocks, its control code compiled with the shipped
// dictionary. False with *error on an unreadable file or rules that do not compile.
bool LoadMeterConfig(MeterSim& meter, const QString& path, QString* error);
