#include <gtest/gtest.h>

#include "core/app/message.h"

namespace {

// A message subclass written the way every subclass extends IsKindOf.
class TDerivedMessage : public TMessage {
public:
    TDerivedMessage() : TMessage(kUserMessageBase + 1, "derived", nullptr) {}
    const char* GetClassName() const override { return "TDerivedMessage"; }
    bool IsKindOf(TMessageClassId id) const override { return id == ClassId() || TMessage::IsKindOf(id); }
    static TMessageClassId ClassId() { return reinterpret_cast<TMessageClassId>(&TDerivedMessage::ClassId); }
};

TEST(MessageTest, IsKindOfFollowsTheClassChain) {
    TMessage base(TMessage::kGeneric, "", nullptr);
    TDerivedMessage derived;
    EXPECT_TRUE(base.IsKindOf(TMessage::ClassId()));
    EXPECT_FALSE(base.IsKindOf(TDerivedMessage::ClassId()));
    EXPECT_TRUE(derived.IsKindOf(TDerivedMessage::ClassId()));
    EXPECT_TRUE(derived.IsKindOf(TMessage::ClassId()));
    EXPECT_FALSE(derived.IsKindOf(nullptr));
    EXPECT_NE(TMessage::ClassId(), TDerivedMessage::ClassId());
    EXPECT_STREQ(base.GetClassName(), "TMessage");
    EXPECT_STREQ(derived.GetClassName(), "TDerivedMessage");
}

TEST(MessageTest, KeepsItsOwnCopyOfTheName) {
    TString name("ok");
    auto* target = reinterpret_cast<TWindow*>(&name);  // only compared, never used
    TMessage message(TMessage::kButtonPress, name, target);
    name += "-changed";
    EXPECT_EQ(message.GetType(), 3);
    EXPECT_STREQ(message.GetName().c_str(), "ok");
    EXPECT_EQ(message.GetTarget(), target);
}

// Scripts and game widgets rely on these numbers.
TEST(MessageTest, TypeNumbersAreFixed) {
    const int32_t expected[] = {
        TMessage::kGeneric,          TMessage::kCloseWindow,      TMessage::kDefaultAction,
        TMessage::kButtonPress,      TMessage::kPressAnyKey,      TMessage::kQuitNow,
        TMessage::kModalClosed,      TMessage::kTextEditChanged,  TMessage::kCommandOnly,
        TMessage::kSliderValChanged, TMessage::kSliderMouseUp,    TMessage::kSliderPageUp,
        TMessage::kSliderPageDown,
    };
    for (int32_t i = 0; i < 13; ++i) EXPECT_EQ(expected[i], i);
    EXPECT_EQ(TMessage::kUserMessageBase, 1000);
}

}  // namespace
