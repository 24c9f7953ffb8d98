// Customers on the shop floor's fixture: a vendor loaded from small description
// tables (a customer kind with a body, a face per mood and two idle
// animations; the bubble, menu, money and orderables art) and the tutorial
// events the customers fire.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/floor/customer.h"
#include "game/floor/customervendor.h"
#include "game/floor/thoughtbubble.h"
#include "tests/floor/floortesting.h"

class CustomerTest : public FloorTest {
protected:
    void SetUp() override {
        FloorTest::SetUp();
        // Times of 0 mean "none yet": start the clock somewhere else.
        timer.Advance(100);
        WriteImage("art/a.png");
        TwoFrames();
        WriteAsset("anims/figure.xml",
                   "<sequence name=\"figure\"><img name=\"sheet.png\" w=\"32\" h=\"16\"/><framelist>"
                   "<frame x=\"0\" w=\"16\" h=\"16\"><anchor name=\"bubble_single\" x=\"7\" y=\"-20\"/></frame>"
                   "</framelist></sequence>");
        WriteAsset("anims/cloud.xml",
                   "<sequence name=\"cloud\"><img name=\"sheet.png\" w=\"32\" h=\"16\"/><framelist>"
                   "<frame x=\"0\" w=\"16\" h=\"16\"><anchor name=\"menu\" x=\"3\" y=\"4\"/></frame>"
                   "</framelist></sequence>");
        Define(R"(
            local function looks(file)
                local asset = { anim = false, { file = file } }
                for _, state in ipairs({ "happy", "neutral", "annoyed", "angry", "menu" }) do
                    table.insert(asset, { state = state, file = file })
                end
                return asset
            end
            function Kind(name, decay)
                return { name = name, decay = decay, tip = 40, orderDelay = 300,
                         assets = { base = { { file = "anims/figure.xml" } } },
                         static_body = { assets = { body = looks("art/a.png") } },
                         static_face = { assets = { face = looks("art/a.png") } },
                         idle_happy = { assets = { idle = { { file = "anims/two.xml" } } } },
                         idle_angry = { assets = { idle = { { file = "anims/two.xml" } } } } }
            end
            posse = { walker = Kind("walker", 50000) }
            objects = {
                thought_bubble = { assets = { bubble_single = { { file = "anims/cloud.xml" },
                                                                { state = "happy", file = "anims/cloud.xml" } },
                                              transparent = { anim = false, { file = "white.png" } } } },
                anim_menu = { assets = { menu = { { file = "anims/two.xml" } } } },
                anim_money = { assets = { money = { anim = false, { file = "art/a.png" },
                                                    { state = "dollar", file = "white.png" } } } },
                orderables = { assets = { sauce = { anim = false, { file = "art/a.png" } },
                                          drink = { anim = false, { file = "art/a.png" } } } },
            }
        )");
        VTutorialManager::Get()->SetTriggerObserver([this](const TString& type, const TString& object) {
            triggers.emplace_back(type.c_str(), object.c_str());
        });
        vendor = VCustomerVendor::Create();
        vendor->SetUpAssets(Describe("objects"));
        vendor->LoadCommonTypes(Describe("posse"));
    }
    void TearDown() override {
        vendor.reset();
        FloorTest::TearDown();
    }

    // A live customer of the fixture's kind, on the scene's clock.
    std::shared_ptr<VCustomer> Made(const char* kind = "walker") {
        std::shared_ptr<VCustomer> customer = vendor->CreateCustomer(kind);
        if (customer) {
            customer->SetManager(manager);
            customer->Update(false);
        }
        return customer;
    }

    std::shared_ptr<VCustomerVendor> vendor;
    std::vector<std::pair<std::string, std::string>> triggers;
};
