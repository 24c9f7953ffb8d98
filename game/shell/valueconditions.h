// What named-value modifiers ask of the upgrade and plot managers: whether an
// upgrade is owned (the upgrade manager answers) and whether a plot step is
// queued (false until the plot manager exists). Tests put in their own
// answers.
#pragma once

#include "foundation/tstring.h"

class VValueConditions {
public:
    virtual ~VValueConditions() = default;
    virtual bool IsUpgradeOwned(const TString& upgrade, const TString& category) const;
    virtual bool IsStepQueued(const TString& step) const;
};

// The conditions in use; never null.
const VValueConditions& GetValueConditions();
// Replaces them (not owned); null restores the default.
void SetValueConditions(const VValueConditions* conditions);
