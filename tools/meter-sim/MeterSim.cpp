#include "MeterSim.h"
MeterSim::MeterSim() = default;
