// LAUNCH.INI on disk: loading, the all-or-nothing save and its failures, UTF-16 files, the
// backup generations, a file another program holds.
#include "file_test_support.h"

#include "base/error.h"
#include "framework/message_box.h"
#include "launcher/ini_file.h"
#include "launcher/launch_generations.h"
#include "launcher/win32_file_ops.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

static const char kOldFile[] = "[FOLDER]\r\nITEM0=0\r\n[Other]\r\nKEEP=1\r\n";

static std::string PlatformRead(const std::string& path, const char* section, const char* key)
{
    char buffer[256];
    const DWORD length =
        GetPrivateProfileStringA(section, key, "<default>", buffer, sizeof buffer, path.c_str());
    return std::string(buffer, length);
}

static std::string Utf16File(const std::wstring& text)
{
    return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

class IniFileTest : public testing::Test {
protected:
    IniFileTest() : path_(folder_.Path() + "LAUNCH.INI") {}

    // The save must fail with the file's full path in the message and leave the folder as it was.
    void ExpectSaveRefused(const std::string& path, const IniDocument& document)
    {
        const std::vector<std::string> filesBefore = folder_.Files();
        const std::string bytesBefore = ReadWholeFile(path);
        try {
            SaveIniFile(path, document);
            ADD_FAILURE() << "the save did not fail";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
        }
        EXPECT_EQ(ReadWholeFile(path), bytesBefore);
        EXPECT_EQ(folder_.Files(), filesBefore);
    }

    ScratchFolder folder_;
    std::string path_;
};

TEST_F(IniFileTest, MissingFileIsAnEmptyDocument)
{
    const IniDocument document = LoadIniFile(path_);
    EXPECT_EQ(document.Serialize(), "");
    EXPECT_EQ(document.Read("FOLDER", "ITEM0"), std::nullopt);
}

TEST_F(IniFileTest, ASaveStartsFromTheFileOrFromNothingButNeverFromAFileItCannotRead)
{
    EXPECT_EQ(LoadIniFileForSave(path_).Serialize(), "");
    ASSERT_TRUE(WriteWholeFile(path_, kOldFile));
    EXPECT_EQ(LoadIniFileForSave(path_).Serialize(), kOldFile);
    // Held open by another program that shares no reading; a folder in a file's place.
    const HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    // Busy, to be waited for (see launch_damage.h), and never taken for an empty file.
    EXPECT_EQ(Win32FileOps().Read(path_).state, FileContent::State::Busy);
    const std::string folder = folder_.Path() + "FOLDER.INI";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    for (const std::string& path : {path_, folder}) {
        try {
            LoadIniFileForSave(path);
            ADD_FAILURE() << path << " read as a document";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), path + " に書き込めません");
        }
    }
    CloseHandle(holder);
    RemoveDirectoryA(folder.c_str());
}

TEST_F(IniFileTest, SaveReplacesTheFileAndLeavesNothingBehind)
{
    IniDocument created;
    created.Write("FOLDER", "ITEM0", "1");
    SaveIniFile(path_, created);
    EXPECT_EQ(ReadWholeFile(path_), "[FOLDER]\r\nITEM0=1\r\n");

    ASSERT_TRUE(WriteWholeFile(path_, kOldFile));
    IniDocument document = LoadIniFile(path_);
    document.Write("FOLDER", "ITEM0", "1");
    document.Write("PARENT", "NODE0", "-2");
    SaveIniFile(path_, document);
    EXPECT_EQ(ReadWholeFile(path_), "[FOLDER]\r\nITEM0=1\r\n[Other]\r\nKEEP=1\r\n[PARENT]\r\nNODE0=-2\r\n");
    EXPECT_EQ(PlatformRead(path_, "FOLDER", "ITEM0"), "1");
    // The version replaced stays beside it as a file of its own.
    EXPECT_EQ(folder_.Files(), (std::vector<std::string>{"LAUNCH.INI", "LAUNCH.INI.1"}));
    ASSERT_TRUE(WriteWholeFile(path_, "[FOLDER]\r\n"));
    EXPECT_EQ(ReadWholeFile(path_ + ".1"), kOldFile);
    // An empty list is an empty "FOLDER" section, never a file of no bytes.
    SaveIniFile(path_, IniDocument());
    EXPECT_EQ(ReadWholeFile(path_), "[FOLDER]\r\n");
}

static std::vector<std::string> boxes;
static int WINAPI RecordBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    boxes.push_back(text);
    return IDOK;
}

TEST_F(IniFileTest, ABackupThatCannotBeWrittenNeverStopsTheSaveAndIsToldOnceWhileItFails)
{
    const MessageBoxFunction previous = SetMessageBoxFunction(RecordBox);
    const std::string first = path_ + ".1";
    IniDocument document;
    // "-" saves with a folder where the first generation goes: no backup can be kept there.
    for (const std::string name : {"a", "b-", "c-", "d", "e-"}) {
        RemoveDirectoryA(first.c_str());
        if (name.size() > 1) {
            DeleteFileA(first.c_str());
            ASSERT_TRUE(CreateDirectoryA(first.c_str(), nullptr));
        }
        document.Write("ExecInfo0", "NAME", name);
        SaveIniFile(path_, document);
        EXPECT_EQ(LoadIniFile(path_).Read("ExecInfo0", "NAME"), name);
    }
    EXPECT_EQ(boxes, std::vector<std::string>(2, BackupFailureNotice(path_)));
    SetMessageBoxFunction(previous);
    RemoveDirectoryA(first.c_str());
}

TEST_F(IniFileTest, ReadOnlyFileIsNotReplaced)
{
    ASSERT_TRUE(WriteWholeFile(path_, kOldFile));
    ASSERT_TRUE(SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    IniDocument document = LoadIniFile(path_);
    document.Write("FOLDER", "ITEM0", "1");
    ExpectSaveRefused(path_, document);
}

TEST_F(IniFileTest, SaveIntoAMissingFolderFails)
{
    IniDocument document;
    document.Write("FOLDER", "ITEM0", "1");
    ExpectSaveRefused(folder_.Path() + "gone\\LAUNCH.INI", document);
}

TEST_F(IniFileTest, Utf16FileIsReadAsUnicodeAndStaysUtf16)
{
    ASSERT_TRUE(
        WriteWholeFile(path_, Utf16File(L"[ExecInfo0]\r\nNAME=新規フォルダ\r\nFILE=C:\\表\\a.txt\r\n")));
    IniDocument document = LoadIniFile(path_);
    EXPECT_EQ(document.Read("ExecInfo0", "NAME"), "新規フォルダ");
    EXPECT_EQ(document.Read("ExecInfo0", "FILE"), PlatformRead(path_, "ExecInfo0", "FILE"));

    document.Write("ExecInfo0", "NAME", "表");
    SaveIniFile(path_, document);
    EXPECT_EQ(ReadWholeFile(path_), Utf16File(L"[ExecInfo0]\r\nNAME=表\r\nFILE=C:\\表\\a.txt\r\n"));
    EXPECT_EQ(PlatformRead(path_, "ExecInfo0", "NAME"), "表");
}
