// The shell's icons of the launcher's files, looked up on threads of their own: the shell may
// take long for a file (a network share that does not answer), and the user-interface thread
// must never wait for it.
#pragma once

#include "base/picture.h"
#include "base/work_pool.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class FileIcons {
public:
    // Asks for the icon of a file, drawn for `size` x `size` pixels or larger: a new handle,
    // which the caller destroys, or null. Called on the worker's threads, each with COM
    // initialised.
    using IconSource = HICON (*)(const std::string& file, int size);
    // The shell's icon of the file from its system image list of the least size not below
    // `size`: taken down to the size, never stretched up to it.
    static HICON ShellIcon(const std::string& file, int size);

    // What tells one state of a file from another without reading it; all zero while the
    // file cannot be found.
    struct Stamp {
        DWORD attributes = 0;
        ULONGLONG size = 0;
        ULONGLONG written = 0;
        ULONGLONG created = 0;
        bool operator==(const Stamp& other) const
        {
            return attributes == other.attributes && size == other.size && written == other.written &&
                   created == other.created;
        }
    };
    static Stamp StampOf(const std::string& file);

    // A file to look at, with the stamp its known picture was made for, if any, and the size of
    // picture wanted.
    struct Question {
        unsigned round = 0;
        std::string file;
        std::optional<Stamp> known;
        int size = 16;
    };
    // The file's picture, read at the size asked for; none when the shell gives no icon.
    struct Answer {
        unsigned round = 0;
        std::string file;
        Stamp stamp;
        std::optional<Picture> picture;
    };

    // Answers are kept until taken; when the first of a batch is ready, `message` is posted to
    // `notify` (never sent: the worker waits for nobody).
    FileIcons(HWND notify, UINT message, IconSource source = ShellIcon);
    ~FileIcons();
    FileIcons(const FileIcons&) = delete;
    FileIcons& operator=(const FileIcons&) = delete;

    // Puts these questions in place of those not started yet. A file whose stamp is still its
    // known one gets no answer.
    void Ask(std::vector<Question> questions);
    // The answers ready now, in the order they were found.
    std::vector<Answer> TakeAnswers();
    // Whether every question asked has been dealt with (its answer may wait to be taken).
    bool Idle() const { return pool_.Idle(); }
    bool AnswersWaiting() const;

private:
    struct Shared {
        HWND notify;   // guarded by mutex; null once the owner is gone
        UINT message;
        IconSource source;
        mutable std::mutex mutex;
        std::vector<Answer> answers;   // guarded by mutex
    };

    std::shared_ptr<Shared> shared_;   // shared with the threads, which may outlive this object
    WorkPool<Question> pool_;
};
