#include "logic/folder_browser.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "tests/support/folder_helpers.h"

namespace {

QStringList Names(const std::vector<logic::Volume>& volumes) {
    QStringList names;
    for (const logic::Volume& v : volumes) names << v.root;
    return names;
}

// The places a user picks from: the root, home, then data and removable
// volumes; the system's own mounts and duplicates are left out.
TEST(FolderBrowser, PickableVolumesLeaveTheSystemsMountsOut) {
    const std::vector<logic::MountedVolume> mounted = {
        {"/", "overlay", "overlay", ""},
        {"/mnt/nas", "//server/share", "cifs", ""},
        {"/media/u/USB", "/dev/sdb1", "vfat", "USB"},
        {"/boot/efi", "/dev/sda1", "vfat", ""},
        {"/run/user/1000", "tmpfs", "tmpfs", ""},
        {"/etc/hosts", "/dev/vda1", "ext4", ""},
        {"/snap/core/1", "/dev/loop0", "squashfs", ""},
        {"/home/u", "/dev/sda3", "ext4", ""},
        {"/data/", "/dev/sdc1", "ext4", "Data"},
        {"/data", "/dev/sdc1", "ext4", "Data"},
        {"/run/media/u/CARD", "/dev/mmcblk0p1", "exfat", ""},
        {"/proc", "proc", "proc", ""},
    };
    const auto volumes = logic::PickableVolumes(mounted, "/home/u/");
    EXPECT_EQ(Names(volumes), (QStringList{"/", "/home/u", "/data", "/media/u/USB", "/mnt/nas",
                                           "/run/media/u/CARD"}));
    EXPECT_EQ(volumes[0].name, QStringLiteral("ルート （/）"));
    EXPECT_EQ(volumes[1].name, QStringLiteral("ホーム （/home/u）"));
    EXPECT_EQ(volumes[3].name, QStringLiteral("USB （/media/u/USB）"));
    EXPECT_EQ(volumes[5].name, QStringLiteral("CARD （/run/media/u/CARD）"));

    EXPECT_EQ(logic::VolumeHolding(volumes, "/home/u/pics"), 1);
    EXPECT_EQ(logic::VolumeHolding(volumes, "/home/uu"), 0);
    EXPECT_EQ(logic::VolumeHolding(volumes, "/media/u/USB"), 3);
    EXPECT_EQ(logic::VolumeHolding({}, "/x"), -1);
}

QStringList Lines(const std::vector<logic::FolderEntry>& entries) {
    QStringList lines;
    for (const auto& e : entries)
        lines << QStringLiteral("%1%2%3").arg(e.depth).arg(e.open ? "+" : "-").arg(e.name);
    return lines;
}

// From the place's root down to the folder, then its sub-folders in name
// order ignoring case; hidden folders and files are no lines.
TEST(FolderBrowser, FolderListingGoesFromThePlaceDownToItsSubFolders) {
    testsupport::TempFolder f;
    QDir root(f.path());
    for (const char* d : {"b", "A", ".hidden", "c/d", "c/E", "c/d/deep"}) root.mkpath(d);
    f.write("file.jpg", "x");

    const auto top = logic::FolderListing(f.path(), f.path());
    ASSERT_TRUE(top);
    EXPECT_EQ(Lines(*top), (QStringList{"0+" + f.path(), "1-A", "1-b", "1-c"}));
    EXPECT_EQ((*top)[3].path, f.file("c"));

    const auto inner = logic::FolderListing(f.path(), f.file("c/d") + "/");
    ASSERT_TRUE(inner);
    EXPECT_EQ(Lines(*inner), (QStringList{"0+" + f.path(), "1+c", "2+d", "3-deep"}));
    EXPECT_EQ((*inner)[1].path, f.file("c"));
    EXPECT_EQ((*inner)[2].path, f.file("c/d"));

    // The root folder of the machine is a place too.
    const auto fromRoot = logic::FolderListing("/", f.file("c"));
    ASSERT_TRUE(fromRoot);
    EXPECT_EQ((*fromRoot)[0].path, "/");
    EXPECT_EQ(fromRoot->at(fromRoot->size() - 2).name, "d");
    EXPECT_EQ(fromRoot->back().name, "E");

    EXPECT_FALSE(logic::FolderListing(f.path(), f.file("missing")));
    EXPECT_FALSE(logic::FolderListing(f.path(), f.file("file.jpg")));
}

TEST(FolderBrowser, AFolderThatCannotBeListedIsNotReadable) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every folder";
    testsupport::TempFolder f;
    QDir(f.path()).mkdir("locked");
    QFile::setPermissions(f.file("locked"), QFileDevice::WriteOwner);
    EXPECT_FALSE(logic::IsReadableFolder(f.file("locked")));
    EXPECT_FALSE(logic::FolderListing(f.path(), f.file("locked")));
    EXPECT_FALSE(logic::PictureFiles(f.file("locked")));
    QFile::setPermissions(f.file("locked"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// "*.JPG;*.BMP" and today's "*.PNG;*.JPEG;*.WEBP;*.GIF", letter case ignored;
// nothing else, no folders, no hidden files.
TEST(FolderBrowser, PictureFilesMatchThePatternIgnoringCase) {
    testsupport::TempFolder f;
    for (const char* n : {"b.jpg", "a.JPG", "c.Bmp", "d.gif", "e.png", "f.jpeg", ".h.jpg",
                          "x.JPG.txt", "Z.BMP", "g.WebP", "i.tif", "j.jpe", "k.PNG.bak"})
        f.write(n, "x");
    QDir(f.path()).mkdir("pics.jpg");
    const auto files = logic::PictureFiles(f.path());
    ASSERT_TRUE(files);
    EXPECT_EQ(*files, (QStringList{"a.JPG", "b.jpg", "c.Bmp", "d.gif", "e.png", "f.jpeg", "g.WebP",
                                   "Z.BMP"}));
    EXPECT_FALSE(logic::PictureFiles(f.file("missing")));
    EXPECT_TRUE(logic::IsPictureFileName("A.BmP"));
    EXPECT_TRUE(logic::IsPictureFileName("a.GIF"));
    EXPECT_FALSE(logic::IsPictureFileName("a.tiff"));
}

}  // namespace

// The browser never stands inside a hidden folder: it starts above it.
TEST(FolderBrowser, VisibleFolderStopsAboveTheFirstHiddenName) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/.local/share/hoshinote/catalogue", "/home/u"},
        {"/home/u/films/", "/home/u/films"},
        {"/.hidden/x", "/"},
        {"/home/u/a.b/.c", "/home/u/a.b"},
    };
    for (const auto& [folder, expected] : cases) {
        EXPECT_EQ(logic::VisibleFolder(folder), expected) << folder;
    }
}
