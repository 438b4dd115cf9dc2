// vorel-tool zq5 pack, info and export on generated PNGs, and the palette
// text format they share with the artwork builder.

#include "common/IndexedPng.h"
#include "common/PaletteFile.h"
#include "image/ZQ5Image.h"
#include "image/ZQ5Library.h"
#include "image/ZQ5TestPictures.h"
#include "support/TestFiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

namespace {
struct Result {
    int Status = -1;
    std::string Output;
};

Result RunTool(const std::string& arguments) {
    std::string command = std::string(VOREL_TOOL) + " " + arguments + " 2>&1";
    Result result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.Output.append(buffer, got);
    int status = pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string PaletteText() {
    std::string text = "# a test palette\n\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(i) + " " + std::to_string(255 - i) + " " + std::to_string(i * 7 % 256) +
                "  # " + std::to_string(i) + "\n";
    return text;
}

IndexedPicture Pattern(int width, int height) {
    IndexedPicture picture{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int cx = x - width / 2, cy = y - height / 2;
            int d = cx * cx + cy * cy;
            uint8_t colour = d < width * width / 9 ? (d > width * width / 12 ? 40 : 100 + y % 3) : 217;
            picture.Pixels[static_cast<size_t>(y) * width + x] = colour;
        }
    return picture;
}

std::vector<uint8_t> PixelsTopDown(TZQ5Image& image) {
    return FromStoredLines(zq5test::PixelsOf(image), image.Width(), image.Height()).Pixels;
}

class ZQ5Tool : public ::testing::Test {
protected:
    TempDir Dir;
    IndexedPicture Logo = Pattern(37, 23);
    IndexedPicture Scene = Pattern(376, 225);
    PaletteColours Palette = ParsePaletteText(PaletteText(), "test");

    void SetUp() override {
        Dir.Write("palette.txt", PaletteText());
        WriteIndexedPng(Dir.File("logo.png"), Logo, Palette);
        WriteIndexedPng(Dir.File("A_Very_Long_Scene.png"), Scene, Palette);
    }
    std::string Path(const std::string& name) const { return "'" + Dir.File(name) + "'"; }
    Result Pack(const std::string& out) {
        return RunTool("zq5 pack " + Path(out) + " " + Path("palette.txt") +
                       " --name Vimo --transparent 217 " + Path("logo.png") + " " +
                       Path("A_Very_Long_Scene.png") + " --name SceneTwo_long " +
                       Path("A_Very_Long_Scene.png"));
    }
};
} // namespace

TEST_F(ZQ5Tool, PackedPicturesLoadWithTheirIndices) {
    Result packed = Pack("vorel.zq5");
    ASSERT_EQ(packed.Status, 0) << packed.Output;
    ASSERT_EQ(Pack("again.zq5").Status, 0);
    EXPECT_EQ(Dir.Read("vorel.zq5"), Dir.Read("again.zq5")); // reproducible

    TZQ5Library library;
    library.Load(Dir.File("vorel.zq5"), true);
    EXPECT_EQ(library.ImageNames(), (std::vector<std::string>{"a_very_l", "scenetwo", "vimo"}));
    TImageNode* logo = library.GetImage("vimo");
    EXPECT_EQ(logo->Image->Width(), 37);
    EXPECT_EQ(logo->Image->Header.TransparentIndex, 217);
    EXPECT_EQ(logo->Image->Header.Transparent, 1);
    EXPECT_EQ(PixelsTopDown(*logo->Image), Logo.Pixels);
    TImageNode* scene = library.GetImage("a_very_l");
    EXPECT_EQ(scene->Image->Header.Transparent, 0);
    EXPECT_EQ(PixelsTopDown(*scene->Image), Scene.Pixels);
    EXPECT_EQ(FromLibraryPalette(library.FilePalette())[100], Palette[100]);
}

TEST_F(ZQ5Tool, InfoListsEveryRecord) {
    ASSERT_EQ(Pack("vorel.zq5").Status, 0);
    Result info = RunTool("zq5 info " + Path("vorel.zq5"));
    EXPECT_EQ(info.Status, 0) << info.Output;
    EXPECT_NE(info.Output.find("revision: 2"), std::string::npos) << info.Output;
    EXPECT_NE(info.Output.find("Vimo        37     23        1    1         217    1"), std::string::npos)
        << info.Output;
    EXPECT_NE(info.Output.find("a_very_l   376    225        2    1           0    0"), std::string::npos)
        << info.Output;
    EXPECT_NE(info.Output.find("records: 3"), std::string::npos);

    std::vector<uint8_t> corrupt = Dir.Read("vorel.zq5");
    corrupt[ZQ5FirstRecordOffset + 16] = 2; // record revision
    Dir.Write("corrupt.zq5", corrupt);
    Result bad = RunTool("zq5 info " + Path("corrupt.zq5"));
    EXPECT_NE(bad.Status, 0);
    EXPECT_NE(bad.Output.find("Invalid ZQ5 image header"), std::string::npos) << bad.Output;
}

TEST_F(ZQ5Tool, ExportGivesTheIndicesAndThePalette) {
    ASSERT_EQ(Pack("vorel.zq5").Status, 0);
    Result exported = RunTool("zq5 export " + Path("vorel.zq5") + " SCENETWO " + Path("out.png"));
    ASSERT_EQ(exported.Status, 0) << exported.Output;
    IndexedPicture back = ReadIndexedPng(Dir.File("out.png"));
    EXPECT_EQ(back.Width, 376);
    EXPECT_EQ(back.Pixels, Scene.Pixels);
    QImage png(QString::fromStdString(Dir.File("out.png")));
    EXPECT_EQ(png.colorTable().size(), 256);
    EXPECT_EQ(png.color(0), qRgb(0, 255, 0));
    EXPECT_EQ(png.color(9), qRgb(9, 246, 63));
    EXPECT_NE(RunTool("zq5 export " + Path("vorel.zq5") + " nothing " + Path("x.png")).Status, 0);
}

TEST_F(ZQ5Tool, RefusesBadInputsWithAClearMessage) {
    QImage rgb(8, 8, QImage::Format_RGB32);
    rgb.fill(Qt::red);
    rgb.save(QString::fromStdString(Dir.File("rgb.png")));
    Result notIndexed =
        RunTool("zq5 pack " + Path("x.zq5") + " " + Path("palette.txt") + " " + Path("rgb.png"));
    EXPECT_NE(notIndexed.Status, 0);
    EXPECT_NE(notIndexed.Output.find("not an 8-bit palettised PNG"), std::string::npos) << notIndexed.Output;

    Result dangling = RunTool("zq5 pack " + Path("x.zq5") + " " + Path("palette.txt") + " " +
                              Path("logo.png") + " --name extra");
    EXPECT_NE(dangling.Status, 0);
    Result twice = RunTool("zq5 pack " + Path("x.zq5") + " " + Path("palette.txt") + " " + Path("logo.png") +
                           " " + Path("logo.png"));
    EXPECT_NE(twice.Status, 0);
    EXPECT_NE(twice.Output.find("used twice"), std::string::npos) << twice.Output;
}

TEST(PaletteFile, Format) {
    PaletteColours colours = ParsePaletteText(PaletteText(), "p");
    EXPECT_EQ(colours[3], (PaletteColour{3, 252, 21}));
    auto error = [](const std::string& text) {
        try {
            ParsePaletteText(text, "palette.txt");
        } catch (const std::runtime_error& failure) {
            return std::string(failure.what());
        }
        return std::string("no error");
    };
    std::string text = PaletteText();
    EXPECT_EQ(error(text + "1 2 3\n"), "palette.txt:259: more than 256 colours");
    EXPECT_EQ(error("# only\n1 2 3\n"), "palette.txt: 1 colours, 256 needed");
    std::string bad = "1 2 3\n4 5 256\n";
    EXPECT_EQ(error(bad), "palette.txt:2: expected \"R G B\", three numbers from 0 to 255: 4 5 256");
    EXPECT_NE(error("1 2\n").find("palette.txt:1:"), std::string::npos);
    EXPECT_NE(error("1 2 3 4\n").find("palette.txt:1:"), std::string::npos);
    EXPECT_NE(error("1 -2 3\n").find("palette.txt:1:"), std::string::npos);
    EXPECT_NE(error("a b c\n").find("palette.txt:1:"), std::string::npos);
    auto library = ToLibraryPalette(colours);
    EXPECT_EQ(library[12], 21); // blue of entry 3
    EXPECT_EQ(FromLibraryPalette(library), colours);
}
