// qlart <payload folder> <art folder>
// Draws the product's artwork: the four logo images into the payload folder, the skin bitmap
// and the window icon into the art folder. Files whose content is unchanged are left alone.
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include "artwork.h"
#include "bmp.h"
#include "ico.h"
#include "output.h"
#include "png.h"

namespace {

bool emit(const std::string& folder, const char* name, const Bytes& content) {
    std::string path = folder + "/" + name;
    int result = writeIfChanged(path.c_str(), content);
    if (result < 0) std::fprintf(stderr, "qlart: cannot write %s\n", path.c_str());
    return result >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qlart <payload folder> <art folder>\n");
        return 2;
    }
    const std::string payload = argv[1], art = argv[2];
    mkdir(payload.c_str(), 0755);
    mkdir(art.c_str(), 0755);

    bool ok = emit(payload, "QuillonOrvalo_72x72.png", encodePng(drawLogo(LogoStyle::AppIcon, 72)));
    ok = emit(payload, "QuillonOrvaloLogo_72x72.png", encodePng(drawLogo(LogoStyle::Coloured, 72))) && ok;
    ok = emit(payload, "QuillonLogoBlack_72x72.png", encodePng(drawLogo(LogoStyle::Black, 72))) && ok;
    ok = emit(payload, "QuillonLogoWhite_72x72.png", encodePng(drawLogo(LogoStyle::White, 72))) && ok;
    ok = emit(art, "skin.bmp", encodeBmp24(drawSkin())) && ok;
    ok = emit(art, "icon.ico", encodeIco4({drawIcon(16), drawIcon(32)})) && ok;
    return ok ? 0 : 1;
}
