#include "tools/mvecfont/fontconverter.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include "graphics/text/shapestream.h"

namespace mvecfont {

namespace {

struct Point {
    double x;
    double y;
};

// One closed-contour path in font units, y up, as the face gives it.
struct Segment {
    enum Kind { kMove, kLine, kCurve } kind;
    Point control;
    Point to;
};
using Path = std::vector<Segment>;

// A glyph whose groups are each filled even-odd and then united.
struct Glyph {
    std::vector<Path> groups;
    double left = 0;
    double right = 0;
    double top = 0;     // y down
    double bottom = 0;  // y down
    double advance = 0;
};

// The fill-rule check renders glyphs at this size into a square frame.
const int kCheckPixels = 64;
const int kFrame = 256;
const int kFrameOrigin = 64;
// Coverage steps (of 255) that anti-aliasing alone can account for.
const int kCoverageSlack = 48;
const int kMaxCubicSplits = 16;

// Frees the FreeType library and face with the reader.
class Face {
public:
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    bool Open(const std::string& path, std::string& error) {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
            error = "cannot start FreeType";
            return false;
        }
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            face = nullptr;
            error = "cannot open the face";
            return false;
        }
        if (!FT_IS_SCALABLE(face)) {
            error = "the face has no outlines";
            return false;
        }
        return true;
    }

    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// Collects an outline's contours; cubic curves become quadratic pieces
// within the tolerance.
class PathBuilder {
public:
    explicit PathBuilder(double tolerance) : mTolerance(tolerance) {}

    bool Read(const FT_Outline& outline, Path& path) {
        mPath = &path;
        FT_Outline_Funcs funcs = {};
        funcs.move_to = [](const FT_Vector* to, void* user) { return Self(user)->Move(to); };
        funcs.line_to = [](const FT_Vector* to, void* user) { return Self(user)->Line(to); };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
            return Self(user)->Conic(control, to);
        };
        funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
            return Self(user)->Cubic(c1, c2, to);
        };
        return FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &funcs, this) == 0;
    }

private:
    static PathBuilder* Self(void* user) { return static_cast<PathBuilder*>(user); }
    static Point ToPoint(const FT_Vector* v) { return Point{double(v->x), double(v->y)}; }

    int Move(const FT_Vector* to) {
        mCurrent = ToPoint(to);
        mPath->push_back(Segment{Segment::kMove, mCurrent, mCurrent});
        return 0;
    }
    int Line(const FT_Vector* to) {
        mCurrent = ToPoint(to);
        mPath->push_back(Segment{Segment::kLine, mCurrent, mCurrent});
        return 0;
    }
    int Conic(const FT_Vector* control, const FT_Vector* to) {
        mCurrent = ToPoint(to);
        mPath->push_back(Segment{Segment::kCurve, ToPoint(control), mCurrent});
        return 0;
    }
    int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to) {
        AddCubic(mCurrent, ToPoint(c1), ToPoint(c2), ToPoint(to), 0);
        mCurrent = ToPoint(to);
        return 0;
    }

    // One quadratic when it stays within the tolerance of the cubic,
    // otherwise the two halves of the cubic.
    void AddCubic(Point p0, Point p1, Point p2, Point p3, int depth) {
        double ex = p3.x - 3 * p2.x + 3 * p1.x - p0.x;
        double ey = p3.y - 3 * p2.y + 3 * p1.y - p0.y;
        double error = std::sqrt(3.0) / 36 * std::hypot(ex, ey);
        if (error <= mTolerance || depth >= kMaxCubicSplits) {
            Point control{(3 * (p1.x + p2.x) - p0.x - p3.x) / 4, (3 * (p1.y + p2.y) - p0.y - p3.y) / 4};
            mPath->push_back(Segment{Segment::kCurve, control, p3});
            return;
        }
        auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
        Point p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
        Point p012 = mid(p01, p12), p123 = mid(p12, p23);
        Point centre = mid(p012, p123);
        AddCubic(p0, p01, p012, centre, depth + 1);
        AddCubic(centre, p123, p23, p3, depth + 1);
    }

    double mTolerance;
    Path* mPath = nullptr;
    Point mCurrent{0, 0};
};

// A component of a composite glyph: its glyph and where it is placed.
struct Component {
    FT_UInt index;
    FT_Matrix matrix;
    double dx;
    double dy;
};

class Converter {
public:
    Converter(Face& face, const ConvertOptions& options)
        : mFace(face), mOptions(options), mBuilder(face.face->units_per_EM / 2048.0) {}

    bool Run(std::vector<uint8_t>& output, std::string& error);

private:
    void Note(const std::string& text) const {
        if (mOptions.report) mOptions.report(text);
    }
    bool AddGlyph(uint32_t code, FT_UInt index);
    bool LoadPath(FT_UInt index, Path& path);
    bool LoadComponents(FT_UInt index, std::vector<Component>& components);
    bool Render(FT_UInt index, const Component* placement, bool evenOdd, std::vector<uint8_t>& pixels);
    bool SplitIntoComponents(FT_UInt index, const std::vector<uint8_t>& nonZero, Glyph& glyph);
    double FitScale() const;
    std::vector<uint8_t> Encode(double scale) const;

    Face& mFace;
    const ConvertOptions& mOptions;
    PathBuilder mBuilder;
    std::map<uint32_t, Glyph> mGlyphs;
};

bool Converter::LoadPath(FT_UInt index, Path& path) {
    if (FT_Load_Glyph(mFace.face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) {
        return false;
    }
    return mFace.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && mBuilder.Read(mFace.face->glyph->outline, path);
}

// The components of a composite glyph placed by offsets; false for any
// other glyph.
bool Converter::LoadComponents(FT_UInt index, std::vector<Component>& components) {
    const FT_Int32 flags = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_NO_RECURSE;
    if (FT_Load_Glyph(mFace.face, index, flags) != 0) return false;
    FT_GlyphSlot slot = mFace.face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_COMPOSITE) return false;
    for (FT_UInt i = 0; i < slot->num_subglyphs; ++i) {
        Component component;
        FT_UInt subFlags;
        FT_Int arg1;
        FT_Int arg2;
        FT_Int sub;
        if (FT_Get_SubGlyph_Info(slot, i, &sub, &subFlags, &arg1, &arg2, &component.matrix) != 0) return false;
        if (!(subFlags & FT_SUBGLYPH_FLAG_ARGS_ARE_XY_VALUES)) return false;
        component.index = static_cast<FT_UInt>(sub);
        component.dx = arg1;
        component.dy = arg2;
        components.push_back(component);
    }
    return !components.empty();
}

// The glyph (or one placed component) at the check size, with either rule.
bool Converter::Render(FT_UInt index, const Component* placement, bool evenOdd, std::vector<uint8_t>& pixels) {
    if (FT_Set_Pixel_Sizes(mFace.face, 0, kCheckPixels) != 0) return false;
    if (FT_Load_Glyph(mFace.face, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0) return false;
    FT_Outline& outline = mFace.face->glyph->outline;
    if (mFace.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (placement) {
        // Offsets in font units become 26.6 pixels.
        double pixelsPerUnit = double(kCheckPixels) / mFace.face->units_per_EM * 64;
        FT_Outline_Transform(&outline, &placement->matrix);
        FT_Outline_Translate(&outline, std::lround(placement->dx * pixelsPerUnit),
                             std::lround(placement->dy * pixelsPerUnit));
    }
    FT_Outline_Translate(&outline, kFrameOrigin * 64, kFrameOrigin * 64);
    if (evenOdd) {
        outline.flags |= FT_OUTLINE_EVEN_ODD_FILL;
    } else {
        outline.flags &= ~FT_OUTLINE_EVEN_ODD_FILL;
    }
    pixels.assign(kFrame * kFrame, 0);
    FT_Bitmap bitmap = {};
    bitmap.rows = kFrame;
    bitmap.width = kFrame;
    bitmap.pitch = kFrame;
    bitmap.buffer = pixels.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = FT_PIXEL_MODE_GRAY;
    return FT_Outline_Get_Bitmap(mFace.library, &outline, &bitmap) == 0;
}

// Each component in a group of its own, kept when the union of the
// components filled even-odd matches the glyph filled non-zero.
bool Converter::SplitIntoComponents(FT_UInt index, const std::vector<uint8_t>& nonZero, Glyph& glyph) {
    std::vector<Component> components;
    if (!LoadComponents(index, components)) return false;
    std::vector<int> most(nonZero.size(), 0);
    std::vector<int> sum(nonZero.size(), 0);
    std::vector<Path> groups;
    for (const Component& component : components) {
        std::vector<uint8_t> pixels;
        Path path;
        if (!Render(component.index, &component, true, pixels) || !LoadPath(component.index, path)) return false;
        for (size_t i = 0; i < pixels.size(); ++i) {
            most[i] = std::max(most[i], int(pixels[i]));
            sum[i] += pixels[i];
        }
        double xx = component.matrix.xx / 65536.0, xy = component.matrix.xy / 65536.0;
        double yx = component.matrix.yx / 65536.0, yy = component.matrix.yy / 65536.0;
        auto place = [&](Point p) {
            return Point{xx * p.x + xy * p.y + component.dx, yx * p.x + yy * p.y + component.dy};
        };
        for (Segment& segment : path) {
            segment.control = place(segment.control);
            segment.to = place(segment.to);
        }
        groups.push_back(std::move(path));
    }
    // A union covers at least the most of its parts and at most their sum.
    for (size_t i = 0; i < nonZero.size(); ++i) {
        if (nonZero[i] + kCoverageSlack < most[i] || nonZero[i] > std::min(255, sum[i]) + kCoverageSlack) return false;
    }
    glyph.groups = std::move(groups);
    return true;
}

bool Converter::AddGlyph(uint32_t code, FT_UInt index) {
    Glyph glyph;
    Path path;
    if (!LoadPath(index, path)) return false;
    const FT_Glyph_Metrics& metrics = mFace.face->glyph->metrics;
    glyph.advance = metrics.horiAdvance;
    FT_BBox box;
    if (!path.empty() && FT_Outline_Get_BBox(&mFace.face->glyph->outline, &box) == 0) {
        glyph.left = box.xMin;
        glyph.right = box.xMax;
        glyph.top = -box.yMax;
        glyph.bottom = -box.yMin;
    }
    std::vector<uint8_t> nonZero;
    std::vector<uint8_t> evenOdd;
    if (!Render(index, nullptr, false, nonZero) || !Render(index, nullptr, true, evenOdd)) return false;
    bool rulesAgree = true;
    for (size_t i = 0; i < nonZero.size() && rulesAgree; ++i) {
        rulesAgree = std::abs(nonZero[i] - evenOdd[i]) <= kCoverageSlack;
    }
    if (rulesAgree) {
        glyph.groups.push_back(std::move(path));
    } else if (!SplitIntoComponents(index, nonZero, glyph)) {
        char text[96];
        std::snprintf(text, sizeof(text), "U+%04X left out: its contours overlap", unsigned(code));
        Note(text);
        return true;
    }
    mGlyphs[code] = std::move(glyph);
    return true;
}

// Font units to output units, so the largest coordinate or metric still
// fits 16 bits of 1/128 units.
double Converter::FitScale() const {
    double largest = 1;
    auto consider = [&](double v) { largest = std::max(largest, std::abs(v)); };
    for (const auto& [code, glyph] : mGlyphs) {
        for (double v : {glyph.left, glyph.right, glyph.top, glyph.bottom, glyph.advance}) consider(v);
        for (const Path& path : glyph.groups) {
            for (const Segment& segment : path) {
                for (double v : {segment.control.x, segment.control.y, segment.to.x, segment.to.y}) consider(v);
            }
        }
    }
    return std::min(mOptions.unitsPerEm / mFace.face->units_per_EM, 32767.0 / (128 * largest));
}

std::vector<uint8_t> Converter::Encode(double scale) const {
    auto units = [&](double v) {
        return static_cast<int16_t>(std::clamp<long>(std::lround(v * scale * 128), -32768, 32767));
    };
    auto put16 = [](std::vector<uint8_t>& out, int16_t v) {
        out.push_back(uint8_t(uint16_t(v) & 0xFF));
        out.push_back(uint8_t(uint16_t(v) >> 8));
    };
    auto put32 = [](std::vector<uint8_t>& out, uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
    };

    std::vector<uint8_t> out = {'M', 'V', 'C', '4'};
    put16(out, static_cast<int16_t>(mGlyphs.size()));
    out.resize(12, 0);
    std::vector<uint8_t> shapes;
    size_t shapesStart = 12 + 18 * mGlyphs.size();
    for (const auto& [code, glyph] : mGlyphs) {
        put32(out, code);
        for (double v : {glyph.left, glyph.right, glyph.top, glyph.bottom, glyph.advance}) put16(out, units(v));
        put32(out, static_cast<uint32_t>(shapesStart + shapes.size()));

        TShapeWriter writer;
        for (size_t group = 0; group < glyph.groups.size(); ++group) {
            if (group > 0) writer.NewGroup();
            writer.FillStyle(1);
            for (const Segment& segment : glyph.groups[group]) {
                // Output y grows downwards.
                int16_t x = units(segment.to.x), y = units(-segment.to.y);
                if (segment.kind == Segment::kMove) writer.MoveTo(x, y);
                if (segment.kind == Segment::kLine) writer.LineTo(x, y);
                if (segment.kind == Segment::kCurve) {
                    writer.CurveTo(units(segment.control.x), units(-segment.control.y), x, y);
                }
            }
        }
        if (glyph.groups.empty()) writer.FillStyle(1);
        writer.End();
        shapes.insert(shapes.end(), writer.GetBytes().begin(), writer.GetBytes().end());
    }
    out.insert(out.end(), shapes.begin(), shapes.end());
    return out;
}

bool Converter::Run(std::vector<uint8_t>& output, std::string& error) {
    for (const CodeRange& range : mOptions.ranges) {
        for (uint32_t code = range.first; code <= range.last && code >= range.first; ++code) {
            FT_UInt index = FT_Get_Char_Index(mFace.face, code);
            if (index != 0 && !AddGlyph(code, index)) {
                char text[96];
                std::snprintf(text, sizeof(text), "U+%04X left out: FreeType cannot load it", unsigned(code));
                Note(text);
            }
        }
    }
    if (!mGlyphs.count('W')) {
        error = "the chosen glyphs hold no 'W'";
        return false;
    }
    if (mGlyphs.size() > 0xFFFF) {
        error = "more than 65535 glyphs";
        return false;
    }
    output = Encode(FitScale());
    return true;
}

bool ParseCode(const std::string& text, uint32_t& code) {
    if (text.empty()) return false;
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (*end != '\0' || value > 0x10FFFF) return false;
    code = static_cast<uint32_t>(value);
    return true;
}

}  // namespace

std::vector<CodeRange> DefaultRanges() {
    return {
        {0x20, 0x7E},      // ASCII
        {0xA0, 0xFF},      // Latin-1
        {0x100, 0x17F},    // Latin Extended-A
        {0x2013, 0x2014},  // dashes
        {0x2018, 0x201E},  // quotes
        {0x2026, 0x2026},  // ellipsis
        {0x20AC, 0x20AC},  // euro
    };
}

bool ParseRanges(const std::string& text, std::vector<CodeRange>& ranges) {
    std::vector<CodeRange> parsed;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t dash = item.find('-');
        CodeRange range;
        if (!ParseCode(item.substr(0, dash), range.first)) return false;
        range.last = range.first;
        if (dash != std::string::npos && !ParseCode(item.substr(dash + 1), range.last)) return false;
        if (range.last < range.first) return false;
        parsed.push_back(range);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    ranges = std::move(parsed);
    return true;
}

bool ConvertFont(const std::string& fontPath, const ConvertOptions& options, std::vector<uint8_t>& output,
                 std::string& error) {
    Face face;
    if (!face.Open(fontPath, error)) return false;
    Converter converter(face, options);
    return converter.Run(output, error);
}

}  // namespace mvecfont
