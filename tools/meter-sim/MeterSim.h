#pragma once
class MeterSim {
public:
    MeterSim();
};
