// LAUNCH.INI on disk: loading, the all-or-nothing save and its failures, UTF-16 files, the
// backup generations and the platform's side of reading a file another program holds.
#include "file_test_support.h"

#include "base/error.h"
#include "framework/message_box.h"
#include "launcher/ini_file.h"
#include "launcher/launch_generations.h"
#include "launcher/win32_file_ops.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
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
    // The version replaced stays beside it, a file of its own: writing the new one in place
    // leaves it alone.
    EXPECT_EQ(folder_.Files(), (std::vector<std::string>{"LAUNCH.INI", "LAUNCH.INI.1"}));
    ASSERT_TRUE(WriteWholeFile(path_, "[FOLDER]\r\n"));
    EXPECT_EQ(ReadWholeFile(path_ + ".1"), kOldFile);
    // An empty list is an empty "FOLDER" section, never a file of no bytes.
    SaveIniFile(path_, IniDocument());
    EXPECT_EQ(ReadWholeFile(path_), "[FOLDER]\r\n");
}

static int boxes = 0;
static std::string boxText;
static int WINAPI CountBox(HWND, LPCSTR text, LPCSTR, UINT)
{
    ++boxes;
    boxText = text;
    return IDOK;
}

TEST_F(IniFileTest, ABackupThatCannotBeWrittenNeverStopsTheSaveAndIsToldOnceWhileItFails)
{
    const MessageBoxFunction previous = SetMessageBoxFunction(CountBox);
    const std::string first = path_ + ".1";
    IniDocument document;
    // With a folder where the first generation goes, no backup can be kept.
    static const struct {
        const char* name;
        bool blocked;
        int boxes;
    } kSaves[] = {{"a", false, 0}, {"b", true, 1}, {"c", true, 1}, {"d", false, 1}, {"e", true, 2}};
    for (const auto& save : kSaves) {
        RemoveDirectoryA(first.c_str());
        if (save.blocked) {
            DeleteFileA(first.c_str());
            ASSERT_TRUE(CreateDirectoryA(first.c_str(), nullptr));
        }
        document.Write("ExecInfo0", "NAME", save.name);
        SaveIniFile(path_, document);
        EXPECT_EQ(LoadIniFile(path_).Read("ExecInfo0", "NAME"), save.name);
        EXPECT_EQ(boxes, save.boxes) << "after saving " << save.name;
    }
    EXPECT_EQ(boxText, BackupFailureNotice(path_));
    SetMessageBoxFunction(previous);
    RemoveDirectoryA(first.c_str());
}

// The platform's files, with a pause that runs the test's own step instead of waiting.
class PausingFileOps : public Win32FileOps {
public:
    std::function<void()> onPause;
    int pauses = 0;
    void Pause(int) override
    {
        ++pauses;
        if (onPause) {
            onPause();
        }
    }
};

TEST_F(IniFileTest, AFileAnotherProgramHoldsIsWaitedForAndOtherwiseNeverReplacedByAnEmptyList)
{
    ASSERT_TRUE(WriteWholeFile(path_, kOldFile));
    HANDLE holder = CreateFileA(path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    PausingFileOps ops;
    EXPECT_EQ(ops.Read(path_).state, FileContent::State::Busy);
    // Held for good: the start takes the backup instead, and a save refuses.
    ASSERT_TRUE(WriteWholeFile(path_ + ".1", "[FOLDER]\r\nITEM0=1\r\n[ExecInfo0]\r\nNAME=b\r\n"));
    const LaunchFileAtStart start = LoadLaunchFileAtStart(ops, path_);
    EXPECT_EQ(start.document.Read("ExecInfo0", "NAME"), "b");
    EXPECT_NE(start.notice.find(path_ + ".1"), std::string::npos);
    EXPECT_EQ(ops.pauses, kBusyRetries);
    EXPECT_THROW(LoadIniFileForSave(ops, path_), Error);
    // Let go while the load waits: the file itself loads.
    ops.onPause = [&] { CloseHandle(holder); };
    EXPECT_EQ(LoadIniFileForSave(ops, path_).Serialize(), kOldFile);
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
