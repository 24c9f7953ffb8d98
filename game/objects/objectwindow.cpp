#include "game/objects/objectwindow.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "core/scripting/luaobject.h"
#include "core/windows/windowstyle.h"
#include "game/objects/object.h"
#include "game/shell/luastyle.h"
#include "game/sprites/spritemanager.h"
#include "game/sprites/spritemove.h"
#include "game/utilities/screeninvalidator.h"
#include "game/widgets/widgetclass.h"

namespace {

constexpr double kDefaultMoveTime = 300;

// Milliseconds from a script number: truncated, negative and NaN as 0, too
// large as the largest.
uint32_t ToMilliseconds(double value) {
    if (!(value > 0)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<uint32_t>::max())) {
        return std::numeric_limits<uint32_t>::max();
    }
    return static_cast<uint32_t>(value);
}

bool IsMove(const VLuaStyle& effect) {
    TString type = effect.GetString("type", TString());
    type.ToLower();
    return type == TString("move");
}

void AddEffects(VObject& object, VLuaStyle& description) {
    std::shared_ptr<VLuaStyle> effects = description.GetSubStyle("effects");
    if (!effects || !effects->IsValid()) return;
    for (int i = 1; i <= effects->GetCount(); ++i) {
        std::shared_ptr<VLuaStyle> effect = effects->GetSubStyleAt(i);
        if (!effect->IsValid() || !IsMove(*effect)) continue;
        object.AddEffect(VSpriteMove::Create(static_cast<float>(effect->GetNumber("x", 0)),
                                             static_cast<float>(effect->GetNumber("y", 0)),
                                             ToMilliseconds(effect->GetNumber("time", kDefaultMoveTime)),
                                             static_cast<float>(effect->GetNumber("accel", 0)),
                                             ToMilliseconds(effect->GetNumber("delay", 0))));
    }
}

}  // namespace

TWindow* VObjectWindow::Create() {
    return new VObjectWindow();
}

VObjectWindow::VObjectWindow() = default;

VObjectWindow::~VObjectWindow() = default;

const char* VObjectWindow::GetClassName() const {
    return "VObjectWindow";
}

bool VObjectWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id,
                       {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

bool VObjectWindow::StartAnimation() {
    if (!VSpriteWindow::StartAnimation()) return false;
    std::weak_ptr<VSpriteManager> sprites = GetSpriteManager();
    GetInvalidator()->InvalidateOnlyWhen([sprites] {
        std::shared_ptr<VSpriteManager> manager = sprites.lock();
        return manager && manager->NeedsDrawing();
    });
    return true;
}

void VObjectWindow::PostInit(const TWindowStyle& style) {
    VSpriteWindow::PostInit(style);
    std::shared_ptr<VLuaStyle> objects = VLuaStyle::Create(style.GetTable("objects"), nullptr);
    if (!objects->IsValid()) return;
    for (int i = 1; i <= objects->GetCount(); ++i) {
        std::shared_ptr<VLuaStyle> description = objects->GetSubStyleAt(i);
        if (!description->IsValid()) continue;
        std::shared_ptr<VObject> object = VObject::Create(TString(), TString(), 0);
        object->Load(description);
        object->Reset();
        AddSprite(object);
        AddEffects(*object, *description);
    }
}
