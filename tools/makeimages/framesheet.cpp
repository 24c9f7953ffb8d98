#include "tools/makeimages/framesheet.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/makeimages/pngwriter.h"

namespace makeimages {

namespace {

// Textures wider or taller than this load slowly: longer sheets wrap.
constexpr int kMostSide = 1024;

int Columns(const FrameSheet& sheet) {
    return std::clamp(kMostSide / std::max(sheet.width, 1), 1, std::max(sheet.count, 1));
}

int Rows(const FrameSheet& sheet) {
    return (sheet.count + Columns(sheet) - 1) / Columns(sheet);
}

std::string Sequence(const std::string& name, const FrameSheet& sheet, const std::string& script) {
    std::ostringstream xml;
    xml << "<sequence name=\"" << name << "\">\n";
    int columns = Columns(sheet);
    xml << "    <img name=\"" << name << ".png\" w=\"" << sheet.width * columns << "\" h=\""
        << sheet.height * Rows(sheet) << "\"/>\n";
    xml << "    <framelist>\n";
    std::string played;
    for (int frame = 0; frame < sheet.count; ++frame) {
        xml << "        <frame x=\"" << frame % columns * sheet.width << "\" y=\"" << frame / columns * sheet.height
            << "\" w=\"" << sheet.width << "\" h=\""
            << sheet.height << "\" regx=\"" << sheet.regx << "\" regy=\"" << sheet.regy << "\">";
        std::vector<FrameAnchor> anchors = sheet.anchors ? sheet.anchors(frame) : std::vector<FrameAnchor>{};
        for (const FrameAnchor& anchor : anchors) {
            xml << "<anchor name=\"" << anchor.name << "\" x=\"" << anchor.x << "\" y=\"" << anchor.y << "\"/>";
        }
        xml << "</frame>\n";
        AppendFrame(played, frame + 1);
    }
    xml << "    </framelist>\n";
    std::string text = script.empty() ? "function DoAnim() frames{" + played + "} end" : script;
    xml << "    <script luascript=\"" << text << "\"/>\n";
    xml << "</sequence>\n";
    return xml.str();
}

// A row of frames; a sheet of more rows draws each frame apart and copies
// it to its place.
Canvas DrawFrames(const FrameSheet& sheet) {
    int columns = Columns(sheet);
    if (columns == sheet.count) {
        Canvas canvas(sheet.width * sheet.count, sheet.height);
        for (int frame = 0; frame < sheet.count; ++frame) {
            sheet.draw(canvas, static_cast<float>(frame * sheet.width), frame);
        }
        return canvas;
    }
    Canvas canvas(sheet.width * columns, sheet.height * Rows(sheet));
    for (int frame = 0; frame < sheet.count; ++frame) {
        Canvas single(sheet.width, sheet.height);
        sheet.draw(single, 0.0f, frame);
        float left = static_cast<float>(frame % columns * sheet.width);
        float top = static_cast<float>(frame / columns * sheet.height);
        float right = left + static_cast<float>(sheet.width);
        float bottom = top + static_cast<float>(sheet.height);
        canvas.Paint([=](float x, float y) { return x > left && x < right && y > top && y < bottom ? -1.0f : 1.0f; },
                     [&single, left, top](float x, float y) {
                         return single.At(static_cast<int>(x - left), static_cast<int>(y - top));
                     });
    }
    return canvas;
}

}  // namespace

void AppendFrame(std::string& list, int frame) {
    if (!list.empty()) list += ',';
    list += std::to_string(frame);
}

bool WriteFrameSheet(const std::string& folder, const std::string& path, const FrameSheet& sheet,
                     const std::string& script) {
    Canvas canvas = DrawFrames(sheet);
    std::string base = folder + "/" + path;
    if (!WritePng(base + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes())) return false;
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::ofstream file(base + ".xml", std::ios::binary);
    file << Sequence(name, sheet, script);
    if (!file) std::fprintf(stderr, "makeimages: cannot write %s.xml\n", base.c_str());
    return static_cast<bool>(file);
}

}  // namespace makeimages
