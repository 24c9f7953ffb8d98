// Level definitions: the level file's elements, the script functions a
// level publishes, money texts and the scripted customers of a level.
#include <cfloat>
#include <functional>

#include "foundation/xmlnode.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "tests/level/leveltesting.h"

namespace {

class LevelTest : public LevelTestBase {
protected:
    void SetUp() override {
        LevelTestBase::SetUp();
        AddStrings({{"level_name_07", "Seventh Heaven"},
                    {"localizer_currency_tens_format", "$%%d"},
                    {"localizer_currency_thousands_format", "$%%d,%%03d"},
                    {"localizer_currency_millions_format", "$%%d,%%03d,%%03d"},
                    {"localizer_currency_billions_format", "$%%d,%%03d,%%03d,%%03d"}});
    }

    std::shared_ptr<ZqLevel> Level(int number, const std::string& xml) {
        std::string name = "levels/test" + std::to_string(mFiles.size()) + ".xml";
        AddFile(name, xml);
        return ZqLevel::Create(number, name.c_str());
    }
};

const char kOrder[] = "<order type=\"chocolate\" shape=\"bar\" layers=\"1\"><layer type=\"ingredient\" option=\"2\"/></order>";

TEST_F(LevelTest, LevelFilesReadTheirElements) {
    struct Case {
        const char* what;
        std::string xml;
        std::function<void(const ZqLevel&)> check;
    };
    const Case cases[] = {
        {"defaults", "<level><location>grytviken</location></level>",
         [](const ZqLevel& level) {
             EXPECT_EQ(level.GetMaxLayers(), 3);
             EXPECT_EQ(level.GetLockdownMin(), -1.0f);
             EXPECT_EQ(level.GetLockdownMax(), -1.0f);
             EXPECT_TRUE(level.InLockdown(-1.0f));
             for (float value : {-1.001f, 0.0f, 50.0f}) EXPECT_FALSE(level.InLockdown(value)) << value;
             EXPECT_EQ(level.GetMinutes(), 0);
             EXPECT_EQ(level.GetGoal(), 0.0f);
             EXPECT_EQ(level.GetChocolateDecay(), 0);
             EXPECT_EQ(level.GetCustomerDecay(), 0.0f);
             EXPECT_FALSE(level.NeedPlot());
             EXPECT_STREQ(level.GetLocation().c_str(), "grytviken");
         }},
        {"every element",
         "<level><name>level_name_07</name><location>namche</location><minutes>3</minutes><seconds>30</seconds>"
         "<goal>1500.7</goal><mastery>2250</mastery><plot>intro</plot><plot>storm</plot>"
         "<upgrade category=\"station\" name=\"kMixer2\"/><upgrade name=\"kPress1\"/><maxlayers>1</maxlayers>"
         "<lockdown min=\"20\" max=\"40.5\"/><chocolatedecay>2</chocolatedecay><customerdecay>0.25</customerdecay>"
         "<weather>rain</weather></level>",
         [](const ZqLevel& level) {
             EXPECT_STREQ(level.GetName().c_str(), "Seventh Heaven");
             EXPECT_STREQ(level.GetLocation().c_str(), "namche");
             EXPECT_EQ(level.GetMinutes(), 3);
             EXPECT_EQ(level.GetSeconds(), 30);
             EXPECT_FLOAT_EQ(level.GetGoal(), 1500.7f);
             EXPECT_STREQ(level.GetGoalText().c_str(), "$1,500");
             EXPECT_STREQ(level.GetMasteryText().c_str(), "$2,250");
             EXPECT_EQ(level.GetPlots(), (std::vector<TString>{"intro", "storm"}));
             EXPECT_TRUE(level.NeedPlot());
             EXPECT_EQ(level.GetUpgrades(), (VLevel::UpgradeList{{"station", "kMixer2"}, {"", "kPress1"}}));
             EXPECT_EQ(level.GetMaxLayers(), 1);
             for (float value : {20.0f, 30.0f, 40.5f}) EXPECT_TRUE(level.InLockdown(value)) << value;
             for (float value : {-1.0f, 19.99f, 40.51f}) EXPECT_FALSE(level.InLockdown(value)) << value;
             EXPECT_EQ(level.GetChocolateDecay(), 2);
             EXPECT_FLOAT_EQ(level.GetCustomerDecay(), 0.25f);
         }},
        {"customers with orders",
         std::string("<level><customer><type>granny</type><station>station02</station><start>10</start>") + kOrder +
             kOrder + "</customer><customer><type>kid</type></customer></level>",
         [](const ZqLevel& level) {
             ASSERT_EQ(level.GetCustomers().size(), 2u);
             const VCustomerData& first = *level.GetCustomers()[0];
             EXPECT_STREQ(first.GetType().c_str(), "granny");
             EXPECT_STREQ(first.GetStation().c_str(), "station02");
             EXPECT_EQ(first.GetStart(), 10.0f);
             ASSERT_EQ(first.GetOrders().size(), 2u);
             EXPECT_EQ(first.GetOrders()[1].options[kIngredientLayer], 2);
             EXPECT_STREQ(level.GetCustomers()[1]->GetType().c_str(), "kid");
             EXPECT_TRUE(level.GetCustomers()[1]->GetOrders().empty());
         }},
        {"zeppelin", std::string("<level><zeppelin>") + kOrder + "<cargo/><order type=\"drink\"/></zeppelin></level>",
         [](const ZqLevel& level) {
             ASSERT_EQ(level.GetAirshipOrders().size(), 2u);
             EXPECT_EQ(level.GetAirshipOrders()[0].kind, 0);
             EXPECT_EQ(level.GetAirshipOrders()[0].shape, 0);
             EXPECT_EQ(level.GetAirshipOrders()[1].kind, 2);
         }},
        {"two level elements",
         "<level><goal>100</goal><plot>a</plot><maxlayers>2</maxlayers></level>"
         "<notalevel><goal>7</goal></notalevel><level><goal>200</goal><plot>b</plot></level>",
         [](const ZqLevel& level) {
             EXPECT_EQ(level.GetGoal(), 200.0f);
             EXPECT_EQ(level.GetMaxLayers(), 2);
             EXPECT_EQ(level.GetPlots(), (std::vector<TString>{"a", "b"}));
         }},
        {"numbers that do not parse", "<level><minutes>soon</minutes><goal>lots</goal><maxlayers>x</maxlayers></level>",
         [](const ZqLevel& level) {
             EXPECT_EQ(level.GetMinutes(), 0);
             EXPECT_EQ(level.GetGoal(), 0.0f);
             EXPECT_EQ(level.GetMaxLayers(), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(*Level(4, c.xml));
    }
}

TEST_F(LevelTest, AMissingOrMalformedFileIsLoggedAndLeavesTheDefaults) {
    struct Case {
        const char* file;
        const char* xml;
        const char* logged;
    };
    const Case cases[] = {
        {"levels/level88.xml", nullptr, "VLevel::Load: cannot read levels/level88.xml"},
        {"levels/broken.xml", "<levle><goal>5</goal>", "VLevel::Load: no \"level\" element in levels/broken.xml"},
    };
    for (const Case& c : cases) {
        if (c.xml) AddFile(c.file, c.xml);
        auto level = ZqLevel::Create(88, c.file);
        EXPECT_EQ(level->GetGoal(), 0.0f) << c.file;
        EXPECT_EQ(level->GetMaxLayers(), 3) << c.file;
        EXPECT_TRUE(mLog.Contains(c.logged)) << c.file;
    }
}

TEST_F(LevelTest, OnlyLevelsAfterTheThirdAskForThePrelevelShop) {
    for (auto [number, expected] : {std::pair{1, "false"}, {3, "false"}, {4, "true"}, {60, "true"}}) {
        auto level = ZqLevel::Create(number, "");
        EXPECT_EQ(Eval("NeedPrelevel()"), expected) << number;
        EXPECT_EQ(Eval("NeedPlot()"), "false") << number;
    }
    auto level = ZqLevel::Create(5, "");
    level->SetNeedPrelevel(false);
    EXPECT_EQ(Eval("NeedPrelevel()"), "false");
}

TEST_F(LevelTest, ScriptsAskTheNewestLevelThatLives) {
    auto older = Level(5, "<level><plot>intro</plot></level>");
    EXPECT_EQ(Eval("NeedPlot()"), "true");
    auto newer = ZqLevel::Create(2, "");
    EXPECT_EQ(Eval("NeedPrelevel()"), "false");
    // The older level goes: the newer level's functions stay.
    older.reset();
    EXPECT_EQ(Eval("NeedPrelevel()"), "false");
    EXPECT_EQ(Eval("NeedPlot()"), "false");
    newer.reset();
    EXPECT_EQ(Eval("NeedPrelevel"), "nil");
    EXPECT_EQ(Eval("NeedPlot"), "nil");
}

TEST_F(LevelTest, MoneyTakesTheDigitGroupsOfItsSize) {
    const std::pair<int32_t, const char*> cases[] = {
        {999, "$999"},           {1000, "$1,000"},       {999999, "$999,999"},
        {1000000, "$1,000,000"}, {2000000000, "$2,000,000,000"}, {-5, "$-5"},
    };
    for (const auto& [amount, text] : cases) EXPECT_STREQ(FormatMoney(amount).c_str(), text) << amount;
}

TEST_F(LevelTest, MoneyTextsThatAreNoIntegerFormatsAreReplaced) {
    AddStrings({{"localizer_currency_tens_format", "%s dollars"},
                {"localizer_currency_thousands_format", "$%%d"}});
    EXPECT_STREQ(FormatMoney(7).c_str(), "7");
    EXPECT_STREQ(FormatMoney(1234).c_str(), "1,234");
    EXPECT_TRUE(mLog.Contains("'localizer_currency_tens_format' is not 1 integer conversions"));
    EXPECT_STREQ(FormatMoney(1000000).c_str(), "$1,000,000");
}

class CustomerDataTest : public LevelTest {
protected:
    TXmlNode* Parsed(const std::string& xml) {
        mDocument.Clear();
        mDocument.ParseString(xml.c_str());
        return mDocument.FindChild("customer");
    }

    TXmlNode mDocument;
};

TEST_F(CustomerDataTest, UnsetValuesKeepTheirDefaults) {
    auto customer = VCustomerData::Create();
    customer->Read(Parsed("<customer><name>Ada</name><decay>abc</decay></customer>"));
    EXPECT_STREQ(customer->GetName().c_str(), "Ada");
    EXPECT_EQ(customer->GetStart(), FLT_MAX);
    EXPECT_EQ(customer->GetEnd(), FLT_MAX);
    EXPECT_EQ(customer->GetDecay(), 0.0f);
    EXPECT_EQ(customer->GetTip(), -1.0f);
}

TEST_F(CustomerDataTest, OrdersAccumulateAndARereadStartsEmpty) {
    auto customer = VCustomerData::Create();
    std::string xml = std::string("<customer><start>5</start><start>25</start><end>75</end><tip>3.5</tip>") + kOrder +
                      "<order type=\"sauce\"/></customer>";
    customer->Read(Parsed(xml));
    ASSERT_EQ(customer->GetOrders().size(), 2u);
    EXPECT_EQ(customer->GetOrders()[0].kind, 0);
    EXPECT_EQ(customer->GetOrders()[1].kind, 1);
    EXPECT_EQ(customer->GetStart(), 25.0f);
    EXPECT_EQ(customer->GetEnd(), 75.0f);
    EXPECT_EQ(customer->GetTip(), 3.5f);
    customer->Read(Parsed(xml));
    EXPECT_EQ(customer->GetOrders().size(), 2u);
    customer->Read(nullptr);
    EXPECT_TRUE(customer->GetOrders().empty());
    EXPECT_EQ(customer->GetStart(), 25.0f);
}

}  // namespace
