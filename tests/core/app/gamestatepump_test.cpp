#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/app/gamestatepump.h"
#include "platform/host/recordreader.h"
#include "platform/host/socketchannel.h"
#include "tests/core/app/gamestatefakes.h"

namespace {

class PumpTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        services.ConnectHost(channel);
        handler = new HoldingHandler();
        TGameState::AddHandler(handler);
    }

    bool Begin(const TGameStatePump::TakeMessage& take = {}) {
        event = TPlatformEvent();
        return pump.BeginEvent(event, take);
    }

    host::RecordingChannel channel;
    HoldingHandler* handler = nullptr;
    TGameStatePump pump;
    TPlatformEvent event;
};

TEST_F(PumpTest, SessionReadyIsSaidOnTheFirstCallOnly) {
    EXPECT_FALSE(Begin());
    EXPECT_FALSE(Begin());
    EXPECT_EQ(handler->writes, std::vector<std::string>{"sessionready="});
}

TEST_F(PumpTest, WhileHeldEachTurnTakesAMessageUntilReleased) {
    handler->holdFor = 3;
    int taken = 0;
    EXPECT_FALSE(Begin([&] {
        ++taken;
        return false;
    }));
    EXPECT_EQ(taken, 3);
}

TEST_F(PumpTest, AQuitMessageWhileHeldYieldsQuit) {
    handler->holdFor = -1;
    EXPECT_TRUE(Begin([] { return true; }));
    EXPECT_EQ(event.type, TPlatformEvent::kQuit);
}

TEST_F(PumpTest, HostRecordsReachTheGameStateWhileHeld) {
    handler->holdFor = 2;
    channel.Send({host::kUserMessage, 3, 0});
    channel.Send({host::kUserMessage, 6, 0});
    EXPECT_FALSE(Begin());
    EXPECT_EQ(handler->writes, (std::vector<std::string>{"sessionready=", "windowmessage=3", "windowmessage=6"}));
}

TEST_F(PumpTest, AHostThatGoesAwayWhileHoldingYieldsQuit) {
    handler->holdFor = -1;
    int turns = 0;
    EXPECT_TRUE(Begin([&] {
        if (++turns == 2) channel.SetAlive(kHost, false);
        return false;
    }));
    EXPECT_EQ(event.type, TPlatformEvent::kQuit);
    EXPECT_EQ(turns, 2);
}

TEST_F(PumpTest, ALostHostQuitsAtOnceOnlyForZylomOrPortalHostedRuns) {
    channel.SetAlive(kHost, false);
    EXPECT_FALSE(Begin());  // standalone msn or embedding: goes on
    InstallZylomHandler();
    EXPECT_TRUE(Begin());
    EXPECT_EQ(event.type, TPlatformEvent::kQuit);
    ResetPortalState();
    services.hosted = true;
    EXPECT_TRUE(Begin());
    // No host window at all is no lost host.
    services.window = host::kNoWindow;
    EXPECT_FALSE(Begin());
}

TEST_F(PumpTest, UserMessagesBecomeWindowMessagesAndOthersAreTakenSilently) {
    EXPECT_FALSE(pump.DispatchHostRecord());
    channel.Send({host::kUserMessage, 4, 77});
    channel.Send({host::kUserMessage, 0xFFFFFFFF, 0});
    channel.Send({host::kUserMessage + 1, 8, 0});
    while (pump.DispatchHostRecord()) {
    }
    EXPECT_EQ(handler->writes, (std::vector<std::string>{"windowmessage=4", "windowmessage=-1"}));
}

TEST_F(PumpTest, FullScreenWishesGoToThePortalHostOnly) {
    pump.SendFullScreen(true);
    EXPECT_TRUE(channel.Posts().empty());
    services.hosted = true;
    pump.SendFullScreen(true);
    pump.SendFullScreen(false);
    ASSERT_EQ(channel.Posts().size(), 2u);
    EXPECT_EQ(channel.Posts()[0].record, (host::Record{host::kUserMessage, 1, 0}));
    EXPECT_EQ(channel.Posts()[1].record, (host::Record{host::kUserMessage, 0, 0}));
}

// A test acting as the msn portal host over a real socket.
class PortalHostTest : public GameStateTest {
protected:
    void SetUp() override {
        GameStateTest::SetUp();
        int ends[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends), 0);
        hostEnd = ends[1];
        channel = std::make_unique<host::SocketChannel>(ends[0]);
        services.channel = channel.get();
        services.window = ends[0];
        InstallMsnHandler();
    }
    void TearDown() override {
        if (hostThread.joinable()) hostThread.join();
        if (hostEnd >= 0) close(hostEnd);
        GameStateTest::TearDown();
        channel.reset();
    }

    void HostSends(int number) {
        uint8_t wire[host::kRecordSize];
        host::EncodeRecord({host::kUserMessage, uint32_t(number), 0}, wire);
        ASSERT_EQ(write(hostEnd, wire, sizeof wire), ssize_t(sizeof wire));
    }
    // The text of the user messages that make up `records` records.
    std::string HostReadsText(size_t records) {
        std::vector<uint8_t> bytes(records * host::kRecordSize);
        size_t got = 0;
        while (got < bytes.size()) {
            ssize_t n = read(hostEnd, bytes.data() + got, bytes.size() - got);
            if (n <= 0) break;
            got += size_t(n);
        }
        host::RecordReader reader;
        reader.Feed(bytes.data(), got);
        std::string text;
        for (host::Record record; reader.Next(record);) {
            if (record.message != host::kUserMessage) continue;
            for (uint32_t word : {record.wParam, record.lParam}) {
                for (int i = 0; i < 4; ++i) text += char(word >> (8 * i));
            }
        }
        return text;
    }
    // Runs the pump's first steps; gives up (quit, noted) after five seconds.
    bool Begin() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        event = TPlatformEvent();
        return pump.BeginEvent(event, [&] { return timedOut = std::chrono::steady_clock::now() > deadline; });
    }
    void HostAfterAWhile(const std::function<void()>& action) {
        hostThread = std::thread([action] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            action();
        });
    }

    std::unique_ptr<host::SocketChannel> channel;
    int hostEnd = -1;
    TGameStatePump pump;
    TPlatformEvent event;
    bool timedOut = false;
    std::thread hostThread;
};

TEST_F(PortalHostTest, TheHostHearsTheSessionAndHoldsAndReleasesTheGame) {
    std::string announced;
    hostThread = std::thread([&] {
        announced = HostReadsText(4);
        HostSends(5);
    });
    EXPECT_FALSE(Begin());
    hostThread.join();
    EXPECT_EQ(announced, std::string("SessionReady(\"<data></data>\")") + std::string(3, '\0'));
    EXPECT_FALSE(TGameState::Get()->IsGameHeld());

    HostSends(4);
    EXPECT_TRUE(pump.DispatchHostRecord());
    EXPECT_TRUE(TGameState::Get()->IsGameHeld());
    HostAfterAWhile([this] { HostSends(5); });
    EXPECT_FALSE(Begin());
    hostThread.join();
    EXPECT_FALSE(TGameState::Get()->IsGameHeld());
    EXPECT_FALSE(timedOut);
}

TEST_F(PortalHostTest, AHostClosingDuringAHoldYieldsQuit) {
    hostThread = std::thread([&] {
        HostReadsText(4);
        close(hostEnd);
        hostEnd = -1;
    });
    EXPECT_TRUE(Begin());
    hostThread.join();
    EXPECT_EQ(event.type, TPlatformEvent::kQuit);
    EXPECT_FALSE(timedOut);
}

}  // namespace
