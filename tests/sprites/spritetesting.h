// Game sprites on the recording render back end: textures, a fake timer that
// the sprites' clock and the effects' clocks read, an animation host whose
// task list plays the animation scripts, and a sprite manager on the clock.
#pragma once

#include <algorithm>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "core/app/tasklist.h"
#include "foundation/clock.h"
#include "game/sprites/sprite.h"
#include "game/sprites/spritelistener.h"
#include "game/sprites/spritemanager.h"
#include "scriptedsprites/animationhost.h"
#include "platform/os/timer.h"
#include "tests/graphics/texturetesting.h"

// Its random numbers are the scripted ones in order, then 0; it counts them.
class TestAnimationHost : public TAnimationHost {
public:
    TTaskList& GetTaskList() override { return tasks; }
    uint32_t Rand() override {
        ++draws;
        if (scripted.empty()) return 0;
        uint32_t next = scripted.front();
        scripted.pop_front();
        return next;
    }

    TTaskList tasks;
    std::deque<uint32_t> scripted;
    int draws = 0;
};

// Writes what happens to the sprites and listeners of one test, in order.
using EventLog = std::vector<std::string>;

class LoggingSprite : public VSprite {
public:
    static std::shared_ptr<LoggingSprite> Create(const std::string& name, EventLog& log, int layer = 0) {
        auto sprite = std::make_shared<LoggingSprite>(name, log, layer);
        Adopt(sprite);
        return sprite;
    }
    LoggingSprite(const std::string& name, EventLog& log, int layer) : VSprite(name.c_str(), layer), mLog(log) {}

    void OnPress() override { Write("press"); }
    void OnRelease() override { Write("release"); }
    void OnClick() override { Write("click"); }
    void OnMouseEnter() override { Write("enter"); }
    void OnMouseLeave() override { Write("leave"); }
    void OnNamedEvent(const TString& name) override { Write(std::string("named ") + name.c_str()); }
    void OnImageBracket() override { Write("image"); }

private:
    void Write(const std::string& what) { mLog.push_back(std::string(GetName().c_str()) + " " + what); }
    EventLog& mLog;
};

class LoggingListener : public VSpriteListener {
public:
    LoggingListener(const std::string& name, EventLog& log) : mName(name), mLog(log) {}

    void OnNamedEvent(const TString& name, const std::shared_ptr<VSprite>&) override {
        Write(std::string("named ") + name.c_str());
    }
    void OnClick(const std::shared_ptr<VSprite>&) override { Write("click"); }
    void OnPress(const std::shared_ptr<VSprite>&) override { Write("press"); }
    void OnRelease(const std::shared_ptr<VSprite>&) override { Write("release"); }
    void OnMouseEnter(const std::shared_ptr<VSprite>&) override { Write("enter"); }

private:
    void Write(const std::string& what) { mLog.push_back(mName + " " + what); }
    std::string mName;
    EventLog& mLog;
};

class SpriteTest : public TextureTest {
protected:
    void SetUp() override {
        TextureTest::SetUp();
        os::SetCurrentTimer(&timer);
        SetAnimationHost(&host);
        clock.Start();
        manager = VSpriteManager::Create();
        manager->SetClock(&clock);
        WriteAsset("white.png", EncodePng(RgbaPng(16, 16, [](int, int) { return 0xFFFFFFFFu; })));
        WriteAsset("anims/sheet.png", EncodePng(RgbaPng(32, 16, [](int, int) { return 0xFFFFFFFFu; })));
    }
    void TearDown() override {
        manager.reset();
        host.tasks.Clear();
        SetAnimationHost(nullptr);
        os::SetCurrentTimer(nullptr);
        TextureTest::TearDown();
    }

    // A two-frame animation of 16 x 16 frames whose "DoAnim" shows each frame
    // for the script's delay; frame 1 has the point "hand" at (5, 3).
    std::shared_ptr<TAnimatedTexture> TwoFrames() {
        WriteAsset("anims/two.xml",
                   "<sequence name=\"two\"><img name=\"sheet.png\" w=\"32\" h=\"16\"/><framelist>"
                   "<frame x=\"0\" w=\"16\" h=\"16\"><anchor name=\"hand\" x=\"5\" y=\"3\"/></frame>"
                   "<frame x=\"16\" w=\"16\" h=\"16\"/></framelist>"
                   "<script luascript=\"function DoAnim() frames{1,2} end "
                   "function Wave() frames{2,1,2,1} end\"/></sequence>");
        return TAnimatedTexture::Get("anims/two.xml");
    }

    std::shared_ptr<TTexture> White() { return TTexture::GetWithOptions("white.png", 0); }

    // Moves the time and runs the animation tasks.
    void Tick(uint32_t milliseconds) {
        timer.Advance(milliseconds);
        host.tasks.RunAll(0);
    }

    // One 16 ms frame of a scene: time, scripts, the sprite and the effects.
    void Frame(const std::shared_ptr<VSprite>& sprite, uint32_t milliseconds = 16) {
        Tick(milliseconds);
        sprite->Update(false);
        manager->UpdateEffects();
    }

    static TDrawState Identity() { return TDrawState(TVec2(0, 0), 1.0f, 1.0f, 0); }

    os::FakeTimer timer{1000};
    TestAnimationHost host;
    TClock clock;
    std::shared_ptr<VSpriteManager> manager;
};

// One white sprite on the scene's clock, and frames that step its effects.
class SpriteEffectFixture : public SpriteTest {
protected:
    void SetUp() override {
        SpriteTest::SetUp();
        sprite = VSprite::Create("s", 0);
        sprite->SetTexture(White());
        sprite->SetManager(manager);
        sprite->Update(false);
    }

    // Adds the effect and runs the frame whose step starts the effect's time.
    void Attach(const std::shared_ptr<VSpriteEffect>& effect) {
        sprite->AddEffect(effect);
        Run(16);
    }

    // Frames of 16 ms (the last one shorter) until the time has passed.
    void Run(uint32_t milliseconds) {
        while (milliseconds > 0) {
            uint32_t step = std::min<uint32_t>(16, milliseconds);
            Frame(sprite, step);
            milliseconds -= step;
        }
    }

    // One frame that draws the sprite.
    void Draw() {
        ASSERT_TRUE(Renderer().BeginDraw(false));
        ASSERT_TRUE(Renderer().Begin2d());
        sprite->Render(Identity(), -1);
        Renderer().End2d();
        Renderer().EndDraw(false);
    }

    std::shared_ptr<VSprite> sprite;
};

