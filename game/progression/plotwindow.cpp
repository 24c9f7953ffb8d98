#include "game/progression/plotwindow.h"

#include "core/app/gamestate.h"
#include "core/windows/windowmanager.h"
#include "game/progression/plotitem.h"
#include "game/progression/plotlistener.h"
#include "game/progression/plotmanager.h"
#include "game/shop/shopwindow.h"
#include "game/utilities/luacommand.h"
#include "game/widgets/widgetclass.h"

TWindow* VPlotWindow::Create() {
    return new VPlotWindow();
}

VPlotWindow::VPlotWindow() {
    if (TWindowManager* windows = TWindowManager::GetInstance()) windows->SetFocus(this);
}

VPlotWindow::~VPlotWindow() = default;

const char* VPlotWindow::GetClassName() const {
    return "VPlotWindow";
}

bool VPlotWindow::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), VSpriteWindow::ClassId(), RWindow::ClassId(), TImage::ClassId(),
                            TWindow::ClassId()});
}

void VPlotWindow::SendDiaryTime(const char* value) const {
    if (TGameState* statistics = TGameState::Get()) {
        statistics->SetState(TString::Format("DiaryTime_%i", ShopWindow::GetPlayNumber()), value);
    }
}

bool VPlotWindow::Start(const std::shared_ptr<VPlotManager>& manager) {
    SendDiaryTime("1");
    mManager = manager;
    if (!mManager) {
        Close();
        return false;
    }
    mListener = VPlotListener::Create(mManager);
    const std::vector<TString>& queued = mManager->GetQueuedNames();
    mNames.assign(queued.begin(), queued.end());
    bool shown = ShowNextItem();
    if (!shown) Close();
    return shown;
}

// An episode is told once per player: the item left is saved as it stands.
void VPlotWindow::LeaveCurrentItem() {
    mCurrent->Hide();
    if (mManager) mCurrent->SaveState(mManager->GetLocation());
}

bool VPlotWindow::ShowNextItem() {
    if (mCurrent) LeaveCurrentItem();
    if (!mManager || mNames.empty()) return false;
    TString name = mNames.front();
    mNames.pop_front();
    std::shared_ptr<VPlotItem> item = mManager->FindItem(name);
    if (!item) return false;
    RemoveSprite(mCurrent);
    mListener->SetItemName(name);
    item->SetListener(mListener);
    AddSprite(item);
    item->Check();
    mCurrent = item;
    return true;
}

bool VPlotWindow::Animate() {
    if (!mClosing && mCurrent && mCurrent->IsDone() && !ShowNextItem()) Close();
    return VSpriteWindow::Animate();
}

void VPlotWindow::Close() {
    if (mClosing) return;
    mClosing = true;
    QueueLuaCommand(kCloseCommand);
    SendDiaryTime("0");
}
