// The in-game root window: the focus of its modal, and Escape queuing the
// pause dialog for the main script.
#include <gtest/gtest.h>

#include "core/scripting/script.h"
#include "game/widgets/rgame.h"
#include "tests/widgets/widgetstesting.h"

namespace {

class RGameTest : public WidgetsTest {};

TEST_F(RGameTest, EscapeQueuesThePauseDialogAndOtherKeysPass) {
    auto* game = Make<RGame>("{ x = 0, y = 0, w = 800, h = 600 }");
    EXPECT_EQ(dialog->GetFocusWindow(), game);
    EXPECT_FALSE(game->OnKeyDown('A', 0));
    EXPECT_EQ(Eval("table.getn(gCommandQueue)"), "0");
    EXPECT_TRUE(game->OnKeyDown(RGame::kEscape, 0));
    ASSERT_EQ(Eval("table.getn(gCommandQueue)"), "1");
    ASSERT_EQ(Run("function DoModal(file) opened = file end gCommandQueue[1]()"), "");
    EXPECT_EQ(Eval("opened"), "scripts/pause.lua");
}

TEST_F(RGameTest, TheDialogCannotRunOutsideTheMainCoroutine) {
    // Why the dialog is queued: its wait fails in a direct run.
    EXPECT_NE(script->DoLuaString("DoModal( 'scripts/pause.lua' );"), 0);
}

}  // namespace
