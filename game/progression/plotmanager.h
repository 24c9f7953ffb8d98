// The level's plot items and the queue of plot steps to show. This stand-in
// holds none: progression's plot manager replaces it.
#pragma once

#include <memory>

#include "game/shell/managersingleton.h"

class TLuaTable;
class VLevel;

class VPlotManager : public VManagerSingleton<VPlotManager> {
public:
    virtual ~VPlotManager() = default;

    // The location's plot table and the level's steps: nothing is kept, so
    // no plot window ever opens.
    void Clear() {}
    void LoadPlotItems(const std::shared_ptr<TLuaTable>& /*plot*/) {}
    void UpdateItemsForLevel() {}
    void SetLevel(const std::shared_ptr<VLevel>& /*level*/) {}
    void ShowPlotWindow() {}

private:
    friend class VManagerSingleton<VPlotManager>;
    VPlotManager() = default;
};
