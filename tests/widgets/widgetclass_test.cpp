// The type test over the flat lists of ancestor ids, class names, and the
// abstract gauge whose id creates nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "game/widgets/bar.h"
#include "game/widgets/cursor.h"
#include "game/widgets/dial.h"
#include "game/widgets/gamewindow.h"
#include "game/widgets/gauge.h"
#include "game/widgets/split9image.h"
#include "game/widgets/split9text.h"
#include "game/widgets/sweepdial.h"
#include "widgets/image.h"
#include "widgets/text.h"

namespace {

struct ClassCase {
    TWindowClassId id;
    const char* name;
    std::initializer_list<TWindowClassId> kinds;
};

TEST(WidgetClassTest, EachClassIsItsAncestorsAndNothingElse) {
    const TWindowClassId all[] = {TWindow::ClassId(),      TText::ClassId(),          TImage::ClassId(),
                                  RWindow::ClassId(),      KGauge::ClassId(),
                                  KBar::ClassId(),         KDial::ClassId(),          KSweepDial::ClassId(),
                                  RCursor::ClassId(),      KSplit9Image::ClassId(),   RSplit9Expander::ClassId(),
                                  RSplit9Text::ClassId()};
    const ClassCase cases[] = {
        {RWindow::ClassId(), "RWindow", {RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()}},
        {KBar::ClassId(), "KBar", {KBar::ClassId(), KGauge::ClassId(), TWindow::ClassId()}},
        {KDial::ClassId(), "KDial", {KDial::ClassId(), KGauge::ClassId(), TWindow::ClassId()}},
        {KSweepDial::ClassId(),
         "KSweepDial",
         {KSweepDial::ClassId(), KDial::ClassId(), KGauge::ClassId(), TWindow::ClassId()}},
        {RCursor::ClassId(), "RCursor", {RCursor::ClassId(), KGauge::ClassId(), TWindow::ClassId()}},
        {KSplit9Image::ClassId(), "KSplit9Image", {KSplit9Image::ClassId(), TWindow::ClassId()}},
        {RSplit9Expander::ClassId(),
         "RSplit9Expander",
         {RSplit9Expander::ClassId(), KSplit9Image::ClassId(), TWindow::ClassId()}},
        {RSplit9Text::ClassId(), "RSplit9Text", {RSplit9Text::ClassId(), TText::ClassId(), TWindow::ClassId()}},
    };
    for (const ClassCase& c : cases) {
        std::unique_ptr<TWindow> window(CreateWindowOfClass(c.id));
        ASSERT_NE(window, nullptr) << c.name;
        EXPECT_STREQ(window->GetClassName(), c.name);
        for (TWindowClassId id : all) {
            bool expected = std::find(c.kinds.begin(), c.kinds.end(), id) != c.kinds.end();
            EXPECT_EQ(window->IsA(id), expected) << c.name;
        }
    }
}

TEST(WidgetClassTest, TheAbstractGaugeCreatesNothing) {
    EXPECT_EQ(KGauge::Create(), nullptr);
    EXPECT_EQ(CreateWindowOfClass(KGauge::ClassId()), nullptr);
}

}  // namespace
