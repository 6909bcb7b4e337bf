// Shows how FilePath splits a path into folder, file name, base name and
// extension, and how FolderPath builds the paths inside a folder.
#include <gtest/gtest.h>

#include "icbs/FilePath.h"
#include "icbs/FolderPath.h"

TEST(PathValues, FilePathPartsAroundTheLastSeparatorAndDot) {
    FilePath path(L"C:\\Program Files\\Morvex\\setup.v2.msi");
    EXPECT_EQ(L"C:\\Program Files\\Morvex\\setup.v2.msi", path.FullPath());
    EXPECT_EQ(L"setup.v2.msi", path.FileName());
    EXPECT_EQ(L"setup.v2", path.BaseName());
    EXPECT_EQ(L"msi", path.Extension());
    EXPECT_EQ(L"C:\\Program Files\\Morvex", path.Folder().Path());
}

TEST(PathValues, ForwardSlashesSeparateToo) {
    FilePath path(L"C:\\data/logs\\today/run.log");
    EXPECT_EQ(L"run.log", path.FileName());
    EXPECT_EQ(L"C:\\data/logs\\today", path.Folder().Path());
}

TEST(PathValues, NamesWithoutFolderOrExtension) {
    FilePath bare(L"readme");
    EXPECT_EQ(L"readme", bare.FileName());
    EXPECT_EQ(L"readme", bare.BaseName());
    EXPECT_EQ(L"", bare.Extension());
    EXPECT_TRUE(bare.Folder().IsEmpty());

    FilePath dottedFolder(L"C:\\v1.5\\LICENSE");
    EXPECT_EQ(L"LICENSE", dottedFolder.BaseName());
    EXPECT_EQ(L"", dottedFolder.Extension());

    FilePath folderOnly(L"C:\\temp\\");
    EXPECT_EQ(L"", folderOnly.FileName());
    EXPECT_EQ(L"C:\\temp", folderOnly.Folder().Path());

    FilePath hidden(L"\\\\server\\share\\.profile");
    EXPECT_EQ(L"", hidden.BaseName());
    EXPECT_EQ(L"profile", hidden.Extension());
    EXPECT_EQ(L"\\\\server\\share", hidden.Folder().Path());
}

TEST(PathValues, FolderPathBuildsChildPaths) {
    FolderPath folder(L"C:\\ProgramData\\Morvex");
    EXPECT_EQ(L"C:\\ProgramData\\Morvex\\{CODE}", folder.Child(L"{CODE}"));
    EXPECT_EQ(L"C:\\ProgramData\\Morvex\\a\\b.msi", FilePath(folder.SubFolder(L"a"), L"b.msi").FullPath());
    // A separator at the end is not doubled, and an empty folder adds none.
    EXPECT_EQ(L"C:\\x.txt", FolderPath(L"C:\\").Child(L"x.txt"));
    EXPECT_EQ(L"x.txt", FolderPath().Child(L"x.txt"));
}

TEST(PathValues, AFilePathRebuiltFromItsPartsIsTheSame) {
    for (const wchar_t* text : {L"C:\\a\\b.c", L"rel\\name.ext", L"\\\\srv\\sh\\f", L"C:\\dir\\noext"}) {
        FilePath path(text);
        EXPECT_EQ(path, FilePath(path.Folder(), path.FileName())) << path.FullPath();
    }
}
