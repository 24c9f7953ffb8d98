#include "game/composition/adapt.h"

#include "core/windows/platformlink.h"
#include "core/windows/windowstyle.h"
#include "foundation/xmlnode.h"
#include "game/composition/adaptitem.h"
#include "game/composition/spritelayer.h"
#include "game/widgets/widgetclass.h"

TWindow* RAdapt::Create() {
    return new RAdapt();
}

RAdapt::RAdapt() = default;

const char* RAdapt::GetClassName() const {
    return "RAdapt";
}

bool RAdapt::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

RAdapt::~RAdapt() {
    Clear();
}

void RAdapt::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    mXmlFile = style.GetString("xmlfile", mXmlFile);
    TWindow* layer = FindChildWindow("adapt_spritelayer", -1);
    mSpriteLayer = layer && layer->IsA(RSpriteLayer::ClassId()) ? static_cast<RSpriteLayer*>(layer) : nullptr;
    Rebuild();
}

void RAdapt::Draw() {}

void RAdapt::Rebuild() {
    Clear();
    Load();
    for (const auto& item : mItems) item->Start();
    if (mSpriteLayer) mSpriteLayer->SetZOrder(kToFront);
}

void RAdapt::Clear() {
    mItems.clear();
}

void RAdapt::Load() {
    if (mXmlFile.Length() == 0) return;
    TXmlNode document;
    document.LoadFile(mXmlFile);
    for (const RAdaptRecord& record : ParseAdaptRecords(document)) mItems.push_back(RAdaptObject::Create(*this, record));
}

const TStringTable* RAdapt::GetStringTable() {
    TPlatformLink* platform = GetPlatformLink();
    return platform ? platform->GetStringTable() : nullptr;
}
