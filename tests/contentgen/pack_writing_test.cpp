#include <gtest/gtest.h>
#include <stdlib.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "contentgen/content_name.h"
#include "contentgen/pack_writer.h"
#include "contentgen/picture_fit.h"
#include "contentgen/safe_name.h"
#include "tests/contentgen/pack_files.h"

namespace contentgen {
namespace {

TEST(SafeFileName, KeepsLettersAndDigitsJoinedByDashes) {
  EXPECT_EQ(SafeFileName("Red Circle"), "red-circle.jpg");
  EXPECT_EQ(SafeFileName("  --IMG_0042 (copy)!! "), "img-0042-copy.jpg");
  EXPECT_EQ(SafeFileName("K\xC3\xBChe 3"), "k-he-3.jpg");  // UTF-8 bytes are separators
  EXPECT_EQ(SafeFileName("\xC3\xA4\xC3\xB6 ... !"), "");
  EXPECT_EQ(SafeFileName(""), "");
}

TEST(SafeFileName, CutsLongNamesWithoutATrailingDash) {
  EXPECT_EQ(SafeFileName(std::string(100, 'a')), std::string(60, 'a') + ".jpg");
  EXPECT_EQ(SafeFileName(std::string(59, 'a') + " b"), std::string(59, 'a') + ".jpg");
}

QImage ThreeBands(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::green);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width / 4; ++x) {
      image.setPixel(x, y, qRgb(255, 0, 0));
      image.setPixel(width - 1 - x, y, qRgb(255, 0, 0));
    }
  }
  return image;
}

TEST(FitPicture, CutsTheMiddleToTheBoxShapeAndNeverEnlarges) {
  const QImage small = FitPicture(ThreeBands(400, 200), QSize(360, 360));
  EXPECT_EQ(small.size(), QSize(200, 200));
  EXPECT_EQ(small.pixel(0, 100), qRgb(0, 255, 0)) << "the red sides are cut away";
  EXPECT_EQ(small.pixel(199, 100), qRgb(0, 255, 0));

  const QImage large = FitPicture(ThreeBands(2000, 1000), QSize(536, 360));
  EXPECT_EQ(large.size(), QSize(536, 360));
  EXPECT_TRUE(FitPicture(QImage(), QSize(10, 10)).isNull());
}

Pack NamedPack(int cells) {
  Pack pack;
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::gray);
  for (int i = 0; i < cells; ++i)
    pack.cells.push_back({"cell-" + std::to_string(i) + ".jpg", image});
  pack.waiting = pack.right = pack.wrong = image;
  return pack;
}

TEST(WritePack, RefusesPacksThatCannotPlay) {
  const std::filesystem::path nowhere = std::filesystem::path(::testing::TempDir()) / "never";
  EXPECT_THROW(WritePack(NamedPack(48), nowhere), std::invalid_argument);
  Pack twice = NamedPack(49);
  twice.cells[7].name = twice.cells[3].name;
  EXPECT_THROW(WritePack(twice, nowhere), std::invalid_argument);
  for (const char* name : {"ok.jpg", "shemoftask.txt", "a/b.jpg", ".hidden.jpg", ""}) {
    Pack bad = NamedPack(49);
    bad.cells[0].name = name;
    EXPECT_THROW(WritePack(bad, nowhere), std::invalid_argument) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(nowhere)) << "nothing is written for a refused pack";
}

TEST(ContentHashedName, PutsTheHashOfTheBytesBeforeTheExtension) {
  // SHA-256 of "abc" begins ba7816bf8f01cfea.
  const std::string name = ContentHashedName("red-circle.jpg", "abc");
  EXPECT_EQ(name, "red-circle.ba7816bf8f01cfea.jpg");
  EXPECT_EQ(HashInName(name), "ba7816bf8f01cfea");
  EXPECT_NE(ContentHashedName("red-circle.jpg", "abd"), name);
  EXPECT_THROW(ContentHashedName("red-circle.png", "abc"), std::invalid_argument);
  EXPECT_THROW(ContentHashedName(".jpg", "abc"), std::invalid_argument);
  // Only what the content server keeps for a year counts as hashed.
  for (const char* other :
       {"red-circle.jpg", "x.BA7816BF8F01CFEA.jpg", ".ba7816bf8f01cfea.jpg",
        "x-ba7816bf8f01cfea.jpg", "x.ba7816bf8f01cfe.jpg", "x.ba7816bf8f01cfea.jpeg"}) {
    EXPECT_EQ(HashInName(other), std::nullopt) << other;
  }
}

TEST(WritePack, HashedNamesNameEachCellAfterItsBytes) {
  const std::filesystem::path folder = std::filesystem::path(::testing::TempDir()) / "hashed";
  std::filesystem::remove_all(folder);
  // Every cell the same picture: only the names they come with keep them apart.
  WritePack(NamedPack(49), folder, {}, {.hash_names = true});
  const auto names =
      contentgen_test::SchemeLines(contentgen_test::ReadWholeFile(folder / "shemoftask.txt"));
  ASSERT_EQ(names.size(), 49u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string bytes = contentgen_test::ReadWholeFile(folder / names[i]);
    EXPECT_EQ(names[i], ContentHashedName("cell-" + std::to_string(i) + ".jpg", bytes));
  }
  Pack png = NamedPack(49);
  png.cells[5].name = "cell-5.png";
  EXPECT_THROW(WritePack(png, folder / "png", {}, {.hash_names = true}), std::invalid_argument);
}

TEST(SchemeText, OneNameALineEndedByCrLf) {
  EXPECT_EQ(SchemeText({"a.jpg", "b.jpg"}), "a.jpg\r\nb.jpg\r\n");
}

}  // namespace
}  // namespace contentgen
