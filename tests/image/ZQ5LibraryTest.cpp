// The image library file: loading and indexing, lookups, use counts, created
// images, the palette, references, and pictures stored through a file.

#include "image/ZQ5Library.h"
#include "foundation/KelException.h"
#include "image/ZQ5TestPictures.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zq5test;

namespace {
using Bytes = std::vector<uint8_t>;

std::array<uint8_t, ZQ5PaletteSize> TestPalette() {
    std::array<uint8_t, ZQ5PaletteSize> palette{};
    for (size_t i = 0; i < 256; ++i) {
        palette[4 * i] = static_cast<uint8_t>(i);           // blue
        palette[4 * i + 1] = static_cast<uint8_t>(255 - i); // green
        palette[4 * i + 2] = static_cast<uint8_t>(i / 2);   // red
    }
    return palette;
}

Bytes LibraryBytes(const std::vector<Bytes>& records) {
    MemoryStream out;
    WriteZQ5Library(out, TestPalette(), records);
    return out.Data();
}

std::string Error(const std::function<void()>& action) {
    try {
        action();
    } catch (const ZQ5Exception& error) {
        return error.what();
    }
    return "no error";
}

class ZQ5LibraryFile : public ::testing::Test {
protected:
    TempDir Dir;
    TZQ5Library Library;
    RawPicture Sky = LineArt(376, 225, 1);
    RawPicture Tile = Noise(64, 64, 2, 8);
    RawPicture Other = MakePicture(20, 10, [](unsigned x, unsigned) { return static_cast<uint8_t>(x); });

    std::string Write(const std::vector<Bytes>& records, const std::string& name = "vorel.zq5") {
        Dir.Write(name, LibraryBytes(records));
        return Dir.File(name);
    }
    std::string WriteStandard() {
        return Write({Encode(Sky, "Sky")->RecordBytes(), Encode(Tile, "TileSht1")->RecordBytes(),
                      Encode(Other, "sky")->RecordBytes()});
    }
};
} // namespace

TEST(ZQ5FileHeader, Validation) {
    const uint8_t good[6] = {0x5A, 0x51, 5, 77, 2, 0};
    EXPECT_NO_THROW(TZQ5Library::ValidateZQ5FileHeader(good));
    for (size_t i : {0, 1, 2, 4, 5}) {
        uint8_t bad[6];
        std::copy(good, good + 6, bad);
        bad[i] ^= 1;
        EXPECT_EQ(Error([&] { TZQ5Library::ValidateZQ5FileHeader(bad); }),
                  "ValidateZQ5FileHeader: header invalid");
    }
}

TEST_F(ZQ5LibraryFile, PicturesSurviveAFile) {
    std::vector<RawPicture> pictures{
        LineArt(512, 320, 4), Noise(640, 480, 5), Noise(1, 1, 6), LineArt(1000, 300, 7),
        MakePicture(640, 480, [](unsigned x, unsigned s) { return uint8_t(x / 64 + s / 48); })};
    std::vector<Bytes> records;
    for (size_t i = 0; i < pictures.size(); ++i)
        records.push_back(Encode(pictures[i], "pic" + std::to_string(i))->RecordBytes());
    Library.Load(Write(records), true);
    for (size_t i = 0; i < pictures.size(); ++i) {
        TImageNode* node = Library.GetImage("PIC" + std::to_string(i));
        EXPECT_EQ(node->Image->State(), isReady);
        EXPECT_EQ(PixelsOf(*node->Image), pictures[i].Lines) << i;
    }
}

TEST_F(ZQ5LibraryFile, IndexAndLookups) {
    EXPECT_EQ(Error([&] { Library.ImageOffset("sky"); }), "ImageOffset: no library loaded");
    EXPECT_EQ(Library.Load(WriteStandard(), true), 0);
    EXPECT_TRUE(Library.IsOpen());
    EXPECT_EQ(Library.ImageNames(), (std::vector<std::string>{"sky", "tilesht1"}));
    EXPECT_EQ(Library.ImageOffset("SKY"), ZQ5FirstRecordOffset);
    EXPECT_GT(Library.ImageOffset("tilesht1"), ZQ5FirstRecordOffset);
    EXPECT_EQ(Library.ImageOffset("none"), 0);
    EXPECT_TRUE(Library.ImageExists("tileSHT1"));
    EXPECT_TRUE(Library.ImageExists("tilesht1_and_more")); // the first 8 characters count
    EXPECT_FALSE(Library.ImageExists("tilesht"));
    EXPECT_NO_THROW(Library.CheckImageName("tilesht1", true));
    EXPECT_NO_THROW(Library.CheckImageName("fresh", false));
    EXPECT_EQ(Error([&] { Library.CheckImageName("fresh", true); }), "Image \"fresh\" does not exist");
    EXPECT_EQ(Error([&] { Library.CheckImageName("TileSht1xyz", false); }),
              "Image name \"TileSht1\" is already in use");
}

TEST_F(ZQ5LibraryFile, FirstRecordOfANameWins) {
    Library.Load(WriteStandard(), true);
    TImageNode* node = Library.GetImage("sky");
    EXPECT_EQ(node->Image->Width(), 376);
    EXPECT_EQ(PixelsOf(*node->Image), Sky.Lines);
}

TEST_F(ZQ5LibraryFile, UseCounts) {
    Library.Load(WriteStandard(), true);
    TImageNode* upper = Library.GetImage("TILESHT1");
    TImageNode* lower = Library.GetImage("tilesht1");
    EXPECT_EQ(upper, lower);
    EXPECT_EQ(upper->UseCount, 2);
    EXPECT_EQ(upper->Name, "tilesht1");
    EXPECT_EQ(Library.GetImage("tilesht1long"), upper); // 12 characters: the first 8 are looked up
    Library.ReleaseImage(upper);
    Library.ReleaseImage(upper);
    EXPECT_EQ(Library.Images().Count(), 1);
    Library.ReleaseImage(upper);
    EXPECT_EQ(Library.Images().Count(), 0);
    Library.ReleaseImage(nullptr);
    EXPECT_EQ(Error([&] { Library.GetImage("ghost"); }), "Image \"ghost\" does not exist");
    EXPECT_EQ(Library.Images().Count(), 0);
}

TEST_F(ZQ5LibraryFile, CreatedImages) {
    Library.Load(WriteStandard(), true);
    TImageNode* screen = Library.CreateImage("ScreenSurface", 512, 320);
    EXPECT_EQ(screen->UseCount, 0);
    EXPECT_EQ(screen->Name, "screensu");
    EXPECT_EQ(screen->Image->State(), isReady);
    EXPECT_EQ(PixelsOf(*screen->Image), Bytes(ImageBytes(512, 320), 0));
    // The name need not be unique and the file's index is untouched.
    TImageNode* second = Library.CreateImage("tile", 10, 10);
    EXPECT_FALSE(Library.ImageExists("screensu"));
    EXPECT_EQ(Library.GetImage("tile"), second); // found among the loaded images first
    EXPECT_EQ(second->UseCount, 1);
    Library.ReleaseImage(screen);
    EXPECT_EQ(Library.Images().Count(), 1);
    EXPECT_EQ(Library.Images().Head(), second);
    // Created without a file too.
    TZQ5Library empty;
    EXPECT_EQ(empty.CreateImage("x", 4, 4)->Image->Width(), 4);
}

TEST_F(ZQ5LibraryFile, RefusedFilesLeaveTheLibraryEmpty) {
    Bytes file = LibraryBytes({Encode(Tile, "tile")->RecordBytes()});
    file[4] = 1; // revision 1
    Dir.Write("rev1.zq5", file);
    Library.Load(WriteStandard(), true);
    EXPECT_EQ(Error([&] { Library.Load(Dir.File("rev1.zq5"), true); }),
              "ValidateZQ5FileHeader: header invalid");
    EXPECT_FALSE(Library.IsOpen());
    EXPECT_EQ(Error([&] { Library.ImageOffset("tile"); }), "ImageOffset: no library loaded");
    EXPECT_EQ(Error([&] { Library.GetHPal(); }), "GetHPal: global palette unavailable");

    Dir.Write("short.zq5", Bytes{0x5A, 0x51, 5});
    EXPECT_EQ(Error([&] { Library.Load(Dir.File("short.zq5"), true); }),
              "ValidateZQ5FileHeader: header invalid");

    Bytes nopal = LibraryBytes({});
    nopal.resize(600);
    Dir.Write("nopal.zq5", nopal);
    EXPECT_EQ(Error([&] { Library.Load(Dir.File("nopal.zq5"), true); }), "Load: palette incomplete");

    Bytes badRecord = LibraryBytes({Encode(Tile, "tile")->RecordBytes(), Encode(Sky, "sky")->RecordBytes()});
    badRecord.resize(badRecord.size() - 1); // the last record reaches past the file
    Dir.Write("cut.zq5", badRecord);
    EXPECT_EQ(Error([&] { Library.Load(Dir.File("cut.zq5"), true); }), "Invalid ZQ5 image header");
    EXPECT_FALSE(Library.IsOpen());

    Bytes zeroSize = LibraryBytes({Encode(Tile, "tile")->RecordBytes()});
    std::fill(zeroSize.begin() + ZQ5FirstRecordOffset + 18, zeroSize.begin() + ZQ5FirstRecordOffset + 22, 0);
    Dir.Write("zero.zq5", zeroSize);
    EXPECT_EQ(Error([&] { Library.Load(Dir.File("zero.zq5"), true); }), "Invalid ZQ5 image header");

    EXPECT_THROW(Library.Load(Dir.File("missing.zq5"), true), FileOpenError);
}

TEST_F(ZQ5LibraryFile, AFileOfOnlyHeaderAndPaletteHasNoImages) {
    std::string path = Write({});
    EXPECT_EQ(std::filesystem::file_size(path), 1030u);
    Library.Load(path, true);
    EXPECT_TRUE(Library.ImageNames().empty());
    EXPECT_EQ(Error([&] { Library.GetImage("vimo"); }), "Image \"vimo\" does not exist");
}

TEST_F(ZQ5LibraryFile, PaletteOfADisplayWithoutStaticColours) {
    Library.Load(WriteStandard(), true);
    const RgbPalette& palette = Library.GetHPal();
    EXPECT_EQ(&palette, &Library.GetHPal());
    EXPECT_EQ(palette[0], 0xFF000000u);
    EXPECT_EQ(palette[255], 0xFFFFFFFFu);
    for (uint32_t i = 1; i < 255; ++i)
        ASSERT_EQ(palette[i], 0xFF000000u | ((i / 2) << 16) | ((255 - i) << 8) | i) << i;
    // The library's copy of the file palette carries the display's ends too.
    EXPECT_EQ(Library.FilePalette()[1], 0);
    EXPECT_EQ(Library.FilePalette()[4 * 7 + 1], 255 - 7);
}

TEST_F(ZQ5LibraryFile, ReferencesAreClearedOnDestruction) {
    auto library = std::make_unique<TZQ5Library>();
    TZQ5Library* global = library.get();
    TZQ5Library* field = library.get();
    TZQ5Library* other = nullptr;
    TZQ5Library* removed = library.get();
    library->AddReference(&global);
    library->AddReference(&field);
    library->AddReference(&other); // does not hold this library: not remembered
    library->AddReference(&removed);
    library->RemoveReference(&removed);
    other = library.get();
    library.reset();
    EXPECT_EQ(global, nullptr);
    EXPECT_EQ(field, nullptr);
    EXPECT_NE(other, nullptr);
    EXPECT_NE(removed, nullptr);
}

TEST_F(ZQ5LibraryFile, CloseCutsAWritableFileBackToItsLoadedSize) {
    std::string path = WriteStandard();
    auto size = std::filesystem::file_size(path);
    Library.Load(path, false);
    {
        FileStream append(path, FileStream::Mode::ReadWrite);
        append.Seek(append.Size());
        append.Write("junk", 4);
        append.Close();
    }
    EXPECT_EQ(std::filesystem::file_size(path), size + 4);
    Library.Close();
    EXPECT_EQ(std::filesystem::file_size(path), size);
    Library.Close(); // nothing open: harmless
}

TEST(ZQ5DisplayHeader, IsTheIdentity) {
    for (size_t i = 0; i < 256; ++i)
        ASSERT_EQ(DisplayHeader.Colors[i], i);
    TDisplayHeader header;
    header.Colors.fill(3);
    InitDisplayHeader(header);
    EXPECT_EQ(header.Colors[200], 200);
}
