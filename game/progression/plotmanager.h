// The level's plot items and the queue of plot steps to show. This stand-in
// holds none: progression's plot manager replaces it.
#pragma once

#include "game/shell/managersingleton.h"

class VPlotManager : public VManagerSingleton<VPlotManager> {
public:
    virtual ~VPlotManager() = default;

private:
    friend class VManagerSingleton<VPlotManager>;
    VPlotManager() = default;
};
