#include "graphics/animatedtexture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/assetmap.h"
#include "texturetesting.h"

namespace {

std::string SheetPng(int width, int height) {
    return EncodePng(RgbaPng(width, height, [](int x, int y) { return 0xFF000000u | uint32_t(x) << 8 | uint32_t(y); }));
}

// A chunked description, little-endian.
class AnmWriter {
public:
    AnmWriter& Tag(const char* tag) {
        bytes.append(tag, 4);
        return *this;
    }
    AnmWriter& Int(int32_t value) {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
        return *this;
    }
    AnmWriter& Float(float value) {
        int32_t bits;
        std::memcpy(&bits, &value, sizeof(bits));
        return Int(bits);
    }
    AnmWriter& Text(const std::string& text) {
        Int(static_cast<int32_t>(text.size()));
        bytes += text;
        return *this;
    }

    std::string bytes;
};

struct AnmParts {
    std::string bytes;
    size_t scriptStart = 0;  // where "SCRP" begins
};

// Two frames; the second has an anchor "hand" and a transform.
AnmParts TwoFrameAnm(int version, const char* script) {
    AnmWriter w;
    w.Tag("ANIM").Int(7).Int(version).Text("walk").Text("art/walk.psd");
    w.Tag("IMGN").Int(1).Int(2).Int(64).Int(32);
    if (version == 1) w.Float(9).Float(9).Float(9).Float(9);
    w.Text("sheet.png").Text("");
    w.Tag("FRMS").Int(2);
    w.Int(4).Int(30).Int(0).Int(0).Int(16).Int(32);
    if (version > 1) w.Float(0.5f);
    w.Float(TAnimationFrame::kNoTransform).Float(0).Float(0).Float(0).Float(0).Float(0);
    w.Text("first").Int(0);
    w.Int(5).Int(31).Int(16).Int(0).Int(16).Int(32);
    if (version > 1) w.Float(0.75f);
    w.Float(2).Float(0).Float(0).Float(2).Float(10).Float(0);
    w.Text("second").Int(1).Int(3).Int(-4).Text("hand");
    AnmParts parts;
    parts.scriptStart = w.bytes.size();
    if (script) w.Tag("SCRP").Text(script);
    parts.bytes = w.bytes;
    return parts;
}

std::string WalkXml(const std::string& frames, const std::string& extra = "") {
    return "<sequence name=\"walk\" source=\"art/walk.psd\">"
           "<img name=\"sheet.png\" w=\"64\" h=\"32\" regx=\"9\" regy=\"9\"/>"
           "<framelist>" +
           frames + "</framelist>" + extra + "</sequence>";
}

const char kTwoFrames[] =
    "<frame name=\"first\" x=\"0\" y=\"0\" w=\"16\" h=\"32\" regx=\"4\" regy=\"30\" alpha=\"0.5\"/>"
    "<frame name=\"second\" x=\"16\" y=\"0\" w=\"16\" h=\"32\" regx=\"5\" regy=\"31\" alpha=\"0.75\" "
    "xform=\"2 0 0 2 10 0\"><anchor name=\"hand\" x=\"3\" y=\"-4\"/></frame>";

class AnimationReadTest : public TextureTest {
protected:
    // Reads a description written under the name.
    TAnimation Read(const std::string& name, const std::string& bytes, bool expected) {
        WriteAsset(name, bytes);
        TAnimation animation;
        EXPECT_EQ(animation.Read(name.c_str(), "anims/walk"), expected);
        return animation;
    }
};

TEST_F(AnimationReadTest, XmlFramesInheritRegistrationAndTransformFromTheFrameBefore) {
    TAnimation a = Read("anims/walk.xml",
                        WalkXml("<frame w=\"8\" h=\"4\"/>"
                                "<frame w=\"8\" h=\"6\" regx=\"3\" regy=\"4\" xform=\"2 0.5\"/>"
                                "<other regx=\"50\"/>"
                                "<frame w=\"12\" h=\"5\" regx=\"\" alpha=\"\"/>"
                                "<frame alpha=\"0.25\" xform=\"1 0 0 1 7 8\"/>"),
                        true);
    ASSERT_EQ(a.frames.size(), 4u);
    // The first frame gets (0, 0), not the sheet's registration point.
    EXPECT_EQ(a.frames[0].regx, 0);
    EXPECT_EQ(a.frames[0].regy, 0);
    EXPECT_FALSE(a.frames[0].HasTransform());
    EXPECT_EQ(a.sheetRegx, 9);
    // A short xform fills only the numbers it has.
    const float shortForm[6] = {2, 0.5f, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(a.frames[1].transform[i], shortForm[i]);
    // Without regx and xform the frame before's are taken.
    EXPECT_EQ(a.frames[2].regx, 3);
    EXPECT_EQ(a.frames[2].regy, 4);
    EXPECT_FLOAT_EQ(a.frames[2].transform[0], 2);
    EXPECT_FLOAT_EQ(a.frames[2].transform[1], 0.5f);
    EXPECT_FLOAT_EQ(a.frames[3].transform[4], 7);
    EXPECT_FLOAT_EQ(a.frames[3].transform[5], 8);
    // Alpha: absent or empty is 1.
    EXPECT_FLOAT_EQ(a.frames[0].alpha, 1);
    EXPECT_FLOAT_EQ(a.frames[2].alpha, 1);
    EXPECT_FLOAT_EQ(a.frames[3].alpha, 0.25f);
    EXPECT_EQ(a.largestWidth, 12);
    EXPECT_EQ(a.largestHeight, 6);
    EXPECT_STREQ(a.folder.c_str(), "anims/");
    EXPECT_STREQ(a.name.c_str(), "walk");
    EXPECT_STREQ(a.source.c_str(), "art/walk.psd");
}

TEST_F(AnimationReadTest, DescriptionWithoutScriptGetsTheDefaultDoAnim) {
    TAnimation three = Read("anims/walk.xml", WalkXml("<frame/><frame/><frame/>"), true);
    EXPECT_STREQ(three.script.c_str(), "function DoAnim()\n    delay(60);\n    frames{1,2,3};\nend\n");
    TAnimation none = Read("anims/empty.xml", "<sequence><img/><framelist/></sequence>", false);
    EXPECT_STREQ(none.script.c_str(), "function DoAnim()\n    delay(60);\nend\n");
    TAnimation attribute = Read("anims/a.xml", WalkXml("<frame/>", "<script luascript=\"x = 1\">y = 2</script>"), true);
    EXPECT_STREQ(attribute.script.c_str(), "x = 1");
    TAnimation text = Read("anims/t.xml", WalkXml("<frame/>", "<script luascript=\"\">y = 2</script>"), true);
    EXPECT_STREQ(text.script.c_str(), "y = 2");
}

TEST_F(AnimationReadTest, EachMissingNodeIsReportedAndFailsTheLoad) {
    struct Case {
        const char* what;
        std::string xml;
        const char* message;
        size_t frames;          // still read
        const char* script;     // still read
    };
    const Case cases[] = {
        {"empty tree", "", "Animation anims/walk does not contain a sequence node", 0, ""},
        {"no sequence", "<sprite><img/></sprite>", "Animation anims/walk does not contain a sequence node", 0, ""},
        {"no img", "<sequence><framelist><frame/><frame/></framelist><script luascript=\"s\"/></sequence>",
         "Animation anims/walk does not contain an img node", 2, "s"},
        {"no framelist", "<sequence><img/><script luascript=\"s\"/></sequence>",
         "Animation anims/walk does not contain a framelist node", 0, "s"},
        {"no frames", "<sequence><img/><framelist><frames/></framelist><script luascript=\"s\"/></sequence>",
         "Animation anims/walk does not contain any frames!", 0, "s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLog caseLog;
        TAnimation a = Read("anims/walk.xml", c.xml, false);
        EXPECT_TRUE(caseLog.Contains(c.message)) << caseLog.Text();
        EXPECT_EQ(a.frames.size(), c.frames);
        EXPECT_STREQ(a.script.c_str(), c.script);
    }
}

TEST_F(AnimationReadTest, AnmVersionOneSkipsFourFloatsAndHasNoFrameAlpha) {
    for (int version : {1, 2}) {
        SCOPED_TRACE(version);
        TAnimation a = Read("anims/walk.anm", TwoFrameAnm(version, "function DoAnim() end").bytes, true);
        EXPECT_STREQ(a.name.c_str(), "walk");
        EXPECT_STREQ(a.source.c_str(), "art/walk.psd");
        EXPECT_STREQ(a.imageName.c_str(), "sheet.png");
        EXPECT_EQ(a.sheetWidth, 64);
        EXPECT_EQ(a.sheetRegy, 2);
        ASSERT_EQ(a.frames.size(), 2u);
        EXPECT_FLOAT_EQ(a.frames[0].alpha, version == 1 ? 1.0f : 0.5f);
        EXPECT_FLOAT_EQ(a.frames[1].alpha, version == 1 ? 1.0f : 0.75f);
        EXPECT_EQ(a.frames[1].x, 16);
        EXPECT_EQ(a.frames[1].regy, 31);
        EXPECT_FALSE(a.frames[0].HasTransform());
        EXPECT_FLOAT_EQ(a.frames[1].transform[4], 10);
        EXPECT_STREQ(a.frames[1].name.c_str(), "second");
        ASSERT_EQ(a.frames[1].anchors.size(), 1u);
        EXPECT_STREQ(a.frames[1].anchors[0].name.c_str(), "hand");
        EXPECT_EQ(a.frames[1].anchors[0].y, -4);
        EXPECT_STREQ(a.script.c_str(), "function DoAnim() end");
    }
    TAnimation noScript = Read("anims/plain.anm", TwoFrameAnm(2, nullptr).bytes, true);
    EXPECT_STREQ(noScript.script.c_str(), "function DoAnim()\n    delay(60);\n    frames{1,2};\nend\n");
}

// Every cut of a file fails, except one that leaves out the script chunk
// (or part of its tag), which gets the default script.
TEST_F(AnimationReadTest, EveryShortAnmFileFailsWithALogLine) {
    AnmParts parts = TwoFrameAnm(2, "function DoAnim() end");
    for (size_t size = 0; size < parts.bytes.size(); ++size) {
        SCOPED_TRACE(size);
        TestLog caseLog;
        bool scriptOnlyCut = size >= parts.scriptStart && size < parts.scriptStart + 4;
        Read("anims/walk.anm", parts.bytes.substr(0, size), scriptOnlyCut);
        if (!scriptOnlyCut) {
            EXPECT_TRUE(caseLog.Contains("Animation anims/walk")) << caseLog.Text();
        }
    }
}

TEST_F(AnimationReadTest, HugeLengthsAndCountsFailWithoutAllocating) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    auto header = [](int32_t nameLength) {
        AnmWriter w;
        w.Tag("ANIM").Int(0).Int(2).Int(nameLength);
        return w;
    };
    auto frames = [](int32_t frameCount) {
        AnmWriter w;
        w.Tag("ANIM").Int(0).Int(2).Text("").Text("").Tag("IMGN").Int(0).Int(0).Int(0).Int(0).Text("a.png").Text("");
        w.Tag("FRMS").Int(frameCount);
        return w;
    };
    AnmWriter anchors = frames(1);
    anchors.Int(0).Int(0).Int(0).Int(0).Int(1).Int(1).Float(1);
    for (int i = 0; i < 6; ++i) anchors.Float(0);
    anchors.Text("f").Int(0x7FFFFFFF);
    const Case cases[] = {
        {"text length", header(0x7FFFFFFF).bytes + std::string(64, 'x')},
        {"frame count", frames(0x7FFFFFFF).bytes + std::string(4096, '\0')},
        {"anchor count", anchors.bytes + std::string(4096, '\0')},
        {"wrong tag", AnmWriter().Tag("ANIX").Int(0).bytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TestLog caseLog;
        TAnimation a = Read("anims/walk.anm", c.bytes, false);
        EXPECT_TRUE(a.frames.empty());
        EXPECT_TRUE(caseLog.Contains("Animation anims/walk")) << caseLog.Text();
    }
}

TEST_F(AnimationReadTest, OtherExtensionsAreRefused) {
    Read("anims/walk.txt", WalkXml(kTwoFrames), false);
    EXPECT_TRUE(log.Contains("Animation anims/walk is neither .xml nor .anm"));
}

class AnimatedTextureTest : public TextureTest {
protected:
    void SetUp() override {
        TextureTest::SetUp();
        WriteAsset("anims/sheet.png", SheetPng(64, 32));
        WriteAsset("anims/walk.xml", WalkXml(kTwoFrames));
    }
};

TEST_F(AnimatedTextureTest, GetCachesUnderNameImageAndMaskAndFindsXmlBeforeAnm) {
    WriteAsset("anims/walk.anm", TwoFrameAnm(2, "from anm").bytes);
    std::shared_ptr<TAnimatedTexture> walk = TAnimatedTexture::Get("anims/walk");
    ASSERT_TRUE(walk);
    EXPECT_STREQ(TAnimatedTexture::MakeCacheKey("anims/walk", "", "").c_str(), "anims/walk::");
    EXPECT_EQ(manager.GetAsset("anims/walk::"), walk);
    EXPECT_EQ(TAnimatedTexture::Get("anims/walk"), walk);
    EXPECT_TRUE(walk->IsA(TTexture::ClassId));
    EXPECT_TRUE(walk->IsA(TAsset::ClassId));
    EXPECT_STREQ(walk->GetClassName(), "TAnimatedTexture");
    // The XML file's script, not the chunked file's.
    EXPECT_STRNE(walk->GetScript().c_str(), "from anm");
    EXPECT_EQ(walk->GetFrameCount(), 2);
    EXPECT_EQ(walk->GetTextureData()->GetOptions(), TTextureData::kAlpha);
    std::shared_ptr<TAnimatedTexture> anm = TAnimatedTexture::Get("anims/walk.anm");
    ASSERT_TRUE(anm);
    EXPECT_STREQ(anm->GetScript().c_str(), "from anm");
}

TEST_F(AnimatedTextureTest, SheetIsLookedForBesideTheDescriptionThenByItsOwnName) {
    WriteAsset("other.png", SheetPng(8, 8));
    WriteAsset("mask.png", SheetPng(8, 8));
    std::shared_ptr<TAnimatedTexture> overridden = TAnimatedTexture::Get("anims/walk", "other.png", "mask.png");
    ASSERT_TRUE(overridden);
    EXPECT_NE(overridden, TAnimatedTexture::Get("anims/walk"));
    EXPECT_STREQ(overridden->GetTextureData()->GetFileName().c_str(), "other.png");
    EXPECT_STREQ(overridden->GetTextureData()->GetMaskName().c_str(), "mask.png");
    EXPECT_STREQ(TAnimatedTexture::Get("anims/walk")->GetTextureData()->GetFileName().c_str(), "anims/sheet.png");

    EXPECT_FALSE(TAnimatedTexture::Get("anims/walk", "missing.png"));
    EXPECT_FALSE(TAnimatedTexture::Get("anims/nothing"));
    EXPECT_TRUE(log.Contains("no animation file for anims/nothing"));
}

TEST_F(AnimatedTextureTest, FramesPointsAndBounds) {
    std::shared_ptr<TAnimatedTexture> walk = TAnimatedTexture::Get("anims/walk");
    ASSERT_TRUE(walk);
    int x = 0, y = 0;
    EXPECT_TRUE(walk->GetFramePoint(1, "hand", &x, &y));
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, -4);
    EXPECT_TRUE(walk->GetFramePoint(1, "hand", nullptr, nullptr));
    EXPECT_FALSE(walk->GetFramePoint(0, "hand", &x, &y));
    EXPECT_FALSE(walk->GetFramePoint(1, "foot", &x, &y));
    EXPECT_FALSE(walk->GetFramePoint(2, "hand", &x, &y));
    EXPECT_FALSE(walk->GetFramePoint(-1, "hand", &x, &y));

    EXPECT_EQ(walk->GetRegistrationPoint(1), TPoint(5, 31));
    EXPECT_EQ(walk->GetFrameBounds(0), TRect(-4, -30, 12, 2));
    EXPECT_EQ(walk->GetFrameBounds(2), TRect());
    EXPECT_EQ(walk->GetTotalBounds(), TRect(-5, -31, 12, 2));

    EXPECT_EQ(walk->GetWidth(), 16);
    walk->SetFrame(2);  // one past the last: ignored
    EXPECT_EQ(walk->GetCurrentFrame(), 0);
    walk->SetFrame(-2);
    EXPECT_EQ(walk->GetCurrentFrame(), 0);
    walk->SetFrame(-1);
    EXPECT_EQ(walk->GetCurrentFrame(), -1);
    EXPECT_EQ(walk->GetWidth(), 0);
    EXPECT_EQ(walk->GetHeight(), 0);
}

TEST_F(AnimatedTextureTest, DrawPivotsOnTheFrameAndAppliesItsTransformRectangleAndAlpha) {
    std::shared_ptr<TAnimatedTexture> walk = TAnimatedTexture::Get("anims/walk");
    ASSERT_TRUE(walk);
    ASSERT_TRUE(Renderer().BeginDraw(false));
    ASSERT_TRUE(Renderer().Begin2d());
    const float q = 16 / 64.0f;
    struct Case {
        const char* what;
        int frame;
        int flags;
        std::vector<Corner> corners;
        int alpha;  // of the diffuse colour
    };
    const Case cases[] = {
        {"registration point", 0, 0, {{96, 70, 0, 0}, {112, 70, q, 0}, {112, 102, q, 1}, {96, 102, 0, 1}}, 127},
        {"mirrored", 0, TDrawState::kMirrorHorizontal,
         {{104, 70, 0, 0}, {88, 70, q, 0}, {88, 102, q, 1}, {104, 102, 0, 1}}, 127},
        // Scaled by 2 and moved by 10 before the placement.
        {"transform", 1, 0, {{100, 38, q, 0}, {132, 38, 2 * q, 0}, {132, 102, 2 * q, 1}, {100, 102, q, 1}}, 191},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        walk->SetFrame(c.frame);
        recorder->ClearCalls();
        walk->DrawAt(100, 100, 1, 1, 0, c.flags);
        std::vector<TRenderVertex> fan = DrawnFan();
        ExpectFan(fan, c.corners);
        if (!fan.empty()) {
            EXPECT_NEAR(static_cast<int>(fan[0].diffuse >> 24), c.alpha, 1);
        }
    }

    // A source rectangle of the state is taken within the frame.
    walk->SetFrame(0);
    TDrawState state(TVec2(0, 0), 1, 1, TDrawState::kUseSourceRect | TDrawState::kUsePivot);
    state.sourceRect = TRect(2, 4, 100, 100);
    recorder->ClearCalls();
    walk->Draw(state);
    ExpectFan(DrawnFan(), {{0, 0, 2 / 64.0f, 4 / 32.0f}, {14, 0, q, 4 / 32.0f}, {14, 28, q, 1}, {0, 28, 2 / 64.0f, 1}});

    walk->SetFrame(-1);
    recorder->ClearCalls();
    walk->DrawAt(100, 100, 1, 1, 0, 0);
    EXPECT_TRUE(recorder->GetCalls().empty());
}

TEST_F(AnimatedTextureTest, AssetMapLoadsXmlAndAnmNames) {
    WriteAsset("anims/run.anm", TwoFrameAnm(2, nullptr).bytes);
    TAnimatedTexture::RegisterLoaders();
    TAssetMap map;
    map.AddAsset("anims/walk");
    map.AddAsset("anims/run");
    EXPECT_TRUE(std::dynamic_pointer_cast<TAnimatedTexture>(manager.GetAsset("anims/walk.xml::")));
    EXPECT_TRUE(std::dynamic_pointer_cast<TAnimatedTexture>(manager.GetAsset("anims/run.anm::")));
    TAssetMap::RegisterLoader("xml", nullptr);
    TAssetMap::RegisterLoader("anm", nullptr);
}

}  // namespace
