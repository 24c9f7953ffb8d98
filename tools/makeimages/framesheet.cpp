#include "tools/makeimages/framesheet.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/makeimages/pngwriter.h"

namespace makeimages {

namespace {

std::string Sequence(const std::string& name, const FrameSheet& sheet, const std::string& script) {
    std::ostringstream xml;
    xml << "<sequence name=\"" << name << "\">\n";
    xml << "    <img name=\"" << name << ".png\" w=\"" << sheet.width * sheet.count << "\" h=\"" << sheet.height
        << "\"/>\n";
    xml << "    <framelist>\n";
    std::string played;
    for (int frame = 0; frame < sheet.count; ++frame) {
        xml << "        <frame x=\"" << frame * sheet.width << "\" y=\"0\" w=\"" << sheet.width << "\" h=\""
            << sheet.height << "\" regx=\"" << sheet.regx << "\" regy=\"" << sheet.regy << "\">";
        std::vector<FrameAnchor> anchors = sheet.anchors ? sheet.anchors(frame) : std::vector<FrameAnchor>{};
        for (const FrameAnchor& anchor : anchors) {
            xml << "<anchor name=\"" << anchor.name << "\" x=\"" << anchor.x << "\" y=\"" << anchor.y << "\"/>";
        }
        xml << "</frame>\n";
        played += (frame > 0 ? "," : "") + std::to_string(frame + 1);
    }
    xml << "    </framelist>\n";
    std::string text = script.empty() ? "function DoAnim() frames{" + played + "} end" : script;
    xml << "    <script luascript=\"" << text << "\"/>\n";
    xml << "</sequence>\n";
    return xml.str();
}

}  // namespace

bool WriteFrameSheet(const std::string& folder, const std::string& path, const FrameSheet& sheet,
                     const std::string& script) {
    Canvas canvas(sheet.width * sheet.count, sheet.height);
    for (int frame = 0; frame < sheet.count; ++frame) {
        sheet.draw(canvas, static_cast<float>(frame * sheet.width), frame);
    }
    std::string base = folder + "/" + path;
    if (!WritePng(base + ".png", canvas.Width(), canvas.Height(), canvas.ToBytes())) return false;
    std::string name = path.substr(path.find_last_of('/') + 1);
    std::ofstream file(base + ".xml", std::ios::binary);
    file << Sequence(name, sheet, script);
    if (!file) std::fprintf(stderr, "makeimages: cannot write %s.xml\n", base.c_str());
    return static_cast<bool>(file);
}

}  // namespace makeimages
