#include "graphics/animatedtexture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/assetmanager.h"
#include "foundation/assetmap.h"
#include "foundation/byteorder.h"
#include "foundation/debuglog.h"
#include "foundation/file.h"
#include "foundation/readfile.h"
#include "foundation/xmlnode.h"

const TAssetClassId TAnimatedTexture::ClassId = &TAnimatedTexture::ClassId;

namespace {

// Shows the frames in order, 60 ms each.
// Built in one growing buffer: descriptions may list hundreds of thousands
// of frames.
TString MakeDefaultScript(size_t frameCount) {
    std::string script = "function DoAnim()\n    delay(60);\n";
    if (frameCount > 0) {
        script += "    frames{";
        for (size_t i = 0; i < frameCount; ++i) {
            if (i > 0) script += ',';
            script += std::to_string(i + 1);
        }
        script += "};\n";
    }
    script += "end\n";
    return TString(script.c_str());
}

// Up to six numbers separated by blanks; the values after the last one
// given keep what they were.
void ParseTransform(const TString& text, float* transform) {
    const char* at = text.c_str();
    for (int i = 0; i < 6; ++i) {
        char* end = nullptr;
        float value = std::strtof(at, &end);
        if (end == at) return;
        transform[i] = value;
        at = end;
    }
}

int IntAttribute(const TXmlNode& node, const char* name) {
    return node.GetAttribute(name).ToInt();
}

void ReadAnchors(TXmlNode& frameNode, TAnimationFrame& frame) {
    frameNode.ResetChildIterator();
    TString childName;
    TXmlNode* child = nullptr;
    while (frameNode.NextChild(childName, child)) {
        if (!(childName == "anchor")) continue;
        frame.anchors.push_back({child->GetAttribute("name"), IntAttribute(*child, "x"), IntAttribute(*child, "y")});
    }
}

// A frame without "regx" takes the registration point of the one before,
// and without "xform" its transform; the first frame starts from none.
TAnimationFrame ReadXmlFrame(TXmlNode& node, const TAnimationFrame* previous) {
    TAnimationFrame frame;
    frame.name = node.GetAttribute("name");
    frame.x = IntAttribute(node, "x");
    frame.y = IntAttribute(node, "y");
    frame.w = IntAttribute(node, "w");
    frame.h = IntAttribute(node, "h");
    TString alpha = node.GetAttribute("alpha");
    if (alpha.Length() > 0) frame.alpha = alpha.ToFloat();
    TString regx = node.GetAttribute("regx");
    if (regx.Length() > 0) {
        frame.regx = regx.ToInt();
        frame.regy = IntAttribute(node, "regy");
    } else if (previous) {
        frame.regx = previous->regx;
        frame.regy = previous->regy;
    }
    TString xform = node.GetAttribute("xform");
    if (xform.Length() > 0) {
        ParseTransform(xform, frame.transform);
    } else if (previous) {
        std::copy(std::begin(previous->transform), std::end(previous->transform), frame.transform);
    }
    ReadAnchors(node, frame);
    return frame;
}

// Little-endian reads over the bytes of a chunked description. Every read
// checks what is left, so lengths and counts in a damaged file cannot read
// past its end or ask for more memory than the file could describe.
class TAnmReader {
public:
    explicit TAnmReader(const std::string& bytes)
        : mAt(reinterpret_cast<const uint8_t*>(bytes.data())), mLeft(bytes.size()) {}

    size_t Left() const { return mLeft; }
    bool Tag(const char* tag) {
        if (mLeft < 4 || std::memcmp(mAt, tag, 4) != 0) return false;
        return Skip(4);
    }
    bool Int(int32_t& value) {
        if (mLeft < 4) return false;
        value = static_cast<int32_t>(ReadU32LE(mAt));
        return Skip(4);
    }
    bool Float(float& value) {
        if (mLeft < 4) return false;
        uint32_t bits = ReadU32LE(mAt);
        std::memcpy(&value, &bits, sizeof(value));
        return Skip(4);
    }
    // A byte count, then the bytes; a count of 0 or less is the empty text.
    bool Text(TString& text) {
        int32_t count = 0;
        if (!Int(count)) return false;
        if (count <= 0) {
            text = TString();
            return true;
        }
        if (static_cast<size_t>(count) > mLeft) return false;
        text = TString(reinterpret_cast<const char*>(mAt), count);
        return Skip(static_cast<size_t>(count));
    }
    bool Skip(size_t count) {
        if (count > mLeft) return false;
        mAt += count;
        mLeft -= count;
        return true;
    }

private:
    const uint8_t* mAt;
    size_t mLeft;
};

// The fewest bytes a frame record and an anchor record take.
constexpr size_t kMinFrameBytes = 6 * 4 + 6 * 4 + 4 + 4;
constexpr size_t kMinAnchorBytes = 3 * 4;

bool ReadAnmFrame(TAnmReader& reader, int32_t version, TAnimationFrame& frame) {
    bool ok = reader.Int(frame.regx) && reader.Int(frame.regy) && reader.Int(frame.x) && reader.Int(frame.y) &&
              reader.Int(frame.w) && reader.Int(frame.h);
    if (ok && version > 1) ok = reader.Float(frame.alpha);
    for (float& value : frame.transform) ok = ok && reader.Float(value);
    int32_t anchorCount = 0;
    ok = ok && reader.Text(frame.name) && reader.Int(anchorCount);
    if (!ok) return false;
    if (anchorCount <= 0) return true;
    if (static_cast<size_t>(anchorCount) > reader.Left() / kMinAnchorBytes) return false;
    frame.anchors.resize(static_cast<size_t>(anchorCount));
    for (TAnimationAnchor& anchor : frame.anchors) {
        if (!reader.Int(anchor.x) || !reader.Int(anchor.y) || !reader.Text(anchor.name)) return false;
    }
    return true;
}

}  // namespace

bool TAnimation::Read(const TString& path, const TString& animationName) {
    fileName = animationName;
    bool read = false;
    if (path.Find(".xml") >= 0) {
        read = ReadXml(path);
    } else if (path.Find(".anm") >= 0) {
        read = ReadAnm(path);
    } else {
        DebugLog("Animation %s is neither .xml nor .anm", fileName.c_str());
    }
    MeasureFrames();
    if (!read) return false;
    int slash = std::max(path.FindChar('/', TString::kBackwards), path.FindChar('\\', TString::kBackwards));
    folder = slash >= 0 ? path.SubString(0, slash + 1) : TString();
    return true;
}

void TAnimation::MeasureFrames() {
    largestWidth = 0;
    largestHeight = 0;
    for (const TAnimationFrame& frame : frames) {
        largestWidth = std::max(largestWidth, frame.w);
        largestHeight = std::max(largestHeight, frame.h);
    }
}

// A missing img, framelist or frame fails the load but reading goes on, so
// every missing part is reported.
bool TAnimation::ReadXml(const TString& path) {
    TXmlNode document;
    document.LoadFile(path);
    TXmlNode* sequence = document.FindChild("sequence");
    if (!sequence) {
        DebugLog("Animation %s does not contain a sequence node", fileName.c_str());
        return false;
    }
    name = sequence->GetAttribute("name");
    source = sequence->GetAttribute("source");
    bool complete = true;
    if (TXmlNode* image = sequence->FindChild("img")) {
        imageName = image->GetAttribute("name");
        maskName = image->GetAttribute("mask");
        sheetWidth = IntAttribute(*image, "w");
        sheetHeight = IntAttribute(*image, "h");
        if (image->GetAttribute("regx").Length() > 0) {
            sheetRegx = IntAttribute(*image, "regx");
            sheetRegy = IntAttribute(*image, "regy");
        }
    } else {
        DebugLog("Animation %s does not contain an img node", fileName.c_str());
        complete = false;
    }
    if (TXmlNode* list = sequence->FindChild("framelist")) {
        list->ResetChildIterator();
        TString childName;
        TXmlNode* child = nullptr;
        while (list->NextChild(childName, child)) {
            if (!(childName == "frame")) continue;
            frames.push_back(ReadXmlFrame(*child, frames.empty() ? nullptr : &frames.back()));
        }
        if (frames.empty()) {
            DebugLog("Animation %s does not contain any frames!", fileName.c_str());
            complete = false;
        }
    } else {
        DebugLog("Animation %s does not contain a framelist node", fileName.c_str());
        complete = false;
    }
    if (TXmlNode* scriptNode = sequence->FindChild("script")) {
        script = scriptNode->GetAttribute("luascript");
        if (script.Length() == 0) script = scriptNode->GetText();
    } else {
        script = MakeDefaultScript(frames.size());
    }
    return complete;
}

bool TAnimation::ReadAnm(const TString& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        DebugLog("Animation %s cannot be read", fileName.c_str());
        return false;
    }
    TAnmReader reader(bytes);
    int32_t ignored = 0;
    int32_t version = 0;
    if (!reader.Tag("ANIM") || !reader.Int(ignored) || !reader.Int(version) || !reader.Text(name) ||
        !reader.Text(source)) {
        DebugLog("Animation %s has no usable ANIM chunk", fileName.c_str());
        return false;
    }
    bool image = reader.Tag("IMGN") && reader.Int(sheetRegx) && reader.Int(sheetRegy) && reader.Int(sheetWidth) &&
                 reader.Int(sheetHeight);
    // Version 1 keeps four unused floats here.
    if (image && version == 1) image = reader.Skip(4 * 4);
    if (!image || !reader.Text(imageName) || !reader.Text(maskName)) {
        DebugLog("Animation %s has no usable IMGN chunk", fileName.c_str());
        return false;
    }
    int32_t frameCount = 0;
    if (!reader.Tag("FRMS") || !reader.Int(frameCount) ||
        (frameCount > 0 && static_cast<size_t>(frameCount) > reader.Left() / kMinFrameBytes)) {
        DebugLog("Animation %s has no usable FRMS chunk", fileName.c_str());
        return false;
    }
    frames.resize(frameCount > 0 ? static_cast<size_t>(frameCount) : 0);
    for (TAnimationFrame& frame : frames) {
        if (!ReadAnmFrame(reader, version, frame)) {
            DebugLog("Animation %s has a frame past the end of the file", fileName.c_str());
            frames.clear();
            return false;
        }
    }
    if (!reader.Tag("SCRP")) {
        script = MakeDefaultScript(frames.size());
    } else if (!reader.Text(script)) {
        DebugLog("Animation %s has a script past the end of the file", fileName.c_str());
        return false;
    }
    return true;
}

TString TAnimatedTexture::MakeCacheKey(const TString& name, const TString& image, const TString& mask) {
    return name + ":" + image + ":" + mask;
}

std::shared_ptr<TAnimatedTexture> TAnimatedTexture::Get(const TString& name, const TString& image,
                                                        const TString& mask) {
    TString key = MakeCacheKey(name, image, mask);
    TAssetManager* manager = GetAssetManager();
    if (manager) {
        if (auto cached = std::dynamic_pointer_cast<TAnimatedTexture>(manager->GetAsset(key))) return cached;
    }
    std::unique_ptr<TTextureData> data = NewTextureData();
    if (!data) {
        DebugLog("TAnimatedTexture: no display to make textures on");
        return nullptr;
    }
    std::shared_ptr<TAnimatedTexture> texture(new TAnimatedTexture(std::move(data)));
    if (manager) manager->RegisterAsset(key, texture);
    if (!texture->LoadDescription(name)) return nullptr;
    if (image.Length() > 0) texture->mAnimation.imageName = image;
    if (mask.Length() > 0) texture->mAnimation.maskName = mask;
    return texture->LoadSheet() ? texture : nullptr;
}

void TAnimatedTexture::RegisterLoaders() {
    TAssetLoader loader = [](const TString& loadName) -> std::shared_ptr<TAsset> { return Get(loadName); };
    TAssetMap::RegisterLoader("xml", loader);
    TAssetMap::RegisterLoader("anm", loader);
}

bool TAnimatedTexture::LoadDescription(const TString& name) {
    for (const char* extension : {"", ".xml", ".anm"}) {
        TString path = name + extension;
        if (FileExists(path)) return mAnimation.Read(path, name);
    }
    DebugLog("TAnimatedTexture: no animation file for %s", name.c_str());
    return false;
}

// The sheet beside the description, else the names as they stand.
bool TAnimatedTexture::LoadSheet() {
    const TAnimation& animation = mAnimation;
    TString folderMask = animation.maskName.Length() > 0 ? animation.folder + animation.maskName : TString();
    return LoadSheetFrom(animation.folder + animation.imageName, folderMask) ||
           LoadSheetFrom(animation.imageName, animation.maskName);
}

bool TAnimatedTexture::LoadSheetFrom(const TString& image, const TString& mask) {
    // Option words of a failed attempt must not carry over to the next.
    GetTextureData()->SetOptions(TTextureData::kAlpha);
    return GetTextureData()->Load(image, mask);
}

const TAnimationFrame* TAnimatedTexture::GetFrame(int frame) const {
    if (frame < 0 || frame >= GetFrameCount()) return nullptr;
    return &mAnimation.frames[static_cast<size_t>(frame)];
}

void TAnimatedTexture::SetFrame(int frame) {
    if (frame < -1 || frame >= GetFrameCount()) return;
    mCurrentFrame = frame;
}

int TAnimatedTexture::GetWidth() const {
    const TAnimationFrame* frame = GetFrame(mCurrentFrame);
    return frame ? frame->w : 0;
}

int TAnimatedTexture::GetHeight() const {
    const TAnimationFrame* frame = GetFrame(mCurrentFrame);
    return frame ? frame->h : 0;
}

bool TAnimatedTexture::GetFramePoint(int frame, const TString& name, int* x, int* y) const {
    const TAnimationFrame* record = GetFrame(frame);
    if (!record) return false;
    for (const TAnimationAnchor& anchor : record->anchors) {
        if (!(anchor.name == name)) continue;
        if (x) *x = anchor.x;
        if (y) *y = anchor.y;
        return true;
    }
    return false;
}

TPoint TAnimatedTexture::GetRegistrationPoint(int frame) const {
    const TAnimationFrame* record = GetFrame(frame);
    return record ? TPoint(record->regx, record->regy) : TPoint();
}

TRect TAnimatedTexture::GetFrameBounds(int frame) const {
    const TAnimationFrame* record = GetFrame(frame);
    if (!record) return TRect();
    return TRect(-record->regx, -record->regy, record->w - record->regx, record->h - record->regy);
}

TRect TAnimatedTexture::GetTotalBounds() const {
    TRect total = GetFrameBounds(0);
    for (int frame = 1; frame < GetFrameCount(); ++frame) total.Union(total, GetFrameBounds(frame));
    return total;
}

void TAnimatedTexture::Draw(const TDrawState& state) {
    const TAnimationFrame* frame = GetFrame(mCurrentFrame);
    if (!frame) return;
    TDrawState placed(state);
    if (!(placed.flags & TDrawState::kUsePivot)) {
        placed.flags |= TDrawState::kUsePivot;
        float pivotX = static_cast<float>((placed.flags & TDrawState::kMirrorHorizontal) ? frame->w - frame->regx
                                                                                          : frame->regx);
        float pivotY = static_cast<float>((placed.flags & TDrawState::kMirrorVertical) ? frame->h - frame->regy
                                                                                        : frame->regy);
        placed.pivot = TVec2(pivotX, pivotY);
    }
    if (frame->HasTransform()) {
        const float* t = frame->transform;
        placed.matrix = TMat3(t[0], t[1], 0, t[2], t[3], 0, t[4], t[5], 1) * placed.matrix;
    }
    if (frame->w == 0) return;
    TRect rect(frame->x, frame->y, frame->x + frame->w, frame->y + frame->h);
    if (placed.flags & TDrawState::kUseSourceRect) {
        const TRect& asked = placed.sourceRect;
        TRect moved(asked.left + frame->x, asked.top + frame->y, asked.right + frame->x, asked.bottom + frame->y);
        placed.sourceRect.Intersect(moved, rect);
    } else {
        placed.flags |= TDrawState::kUseSourceRect;
        placed.sourceRect = rect;
    }
    placed.alpha = frame->alpha * placed.alpha;
    TTexture::Draw(placed);
}
