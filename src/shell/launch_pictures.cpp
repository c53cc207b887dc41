#include "shell/launch_pictures.h"

#include "base/tree_model.h"
#include "framework/handles.h"
#include "framework/icon.h"
#include "framework/image_list.h"
#include "framework/menu_item.h"
#include "framework/module_path.h"
#include "launcher/file_kind.h"
#include "launcher/launch_entry.h"
#include "launcher/launch_menu_item.h"
#include "program_icons.h"

#include <shellapi.h>

namespace {

// The items Launch owns, by the node number they carry (the first of a number winning, as in
// a search of the components), gathered once rather than searched once per node.
std::unordered_map<int, MenuItem*> ItemsByNumber(const MenuItem& launch)
{
    std::unordered_map<int, MenuItem*> items;
    for (int i = 0; i < launch.ComponentCount(); ++i) {
        if (auto* item = dynamic_cast<LaunchMenuItem*>(launch.Components(i))) {
            items.emplace(item->NodeIndex(), item);
        }
    }
    return items;
}

void SetImage(const std::unordered_map<int, MenuItem*>& items, int node, int index)
{
    const auto found = items.find(node);
    if (found != items.end()) {
        found->second->SetImageIndex(index);
    }
}

void AddFileIcon(ImageList& images, const std::string& file, int position)
{
    images.AddIcon(ExtractIconOfSize(file, position, images.Width()).Get());
}

// Once the list holds this many more pictures than files, it is started afresh: pictures of
// files changed again and again are not kept for ever.
constexpr int kSlack = 64;

}   // namespace

LaunchPictures::LaunchPictures(ImageList& images, HWND notify, UINT message, FileIcons::IconSource source,
                               DWORD recheckPause)
    : images_(images), icons_(notify, message, source), recheckPause_(recheckPause)
{
    ResetImages();
}

int LaunchPictures::GenericPicture(const std::string& file)
{
    static constexpr int kByKind[] = {kUnknown, kDocument, kProgram, kFolder};
    return kByKind[static_cast<int>(KindOfFile(file))];
}

void LaunchPictures::ResetImages()
{
    images_.Clear();
    known_.clear();
    AddFileIcon(images_, ModuleFileName(), kClosedFolderIconPosition);
    // The shell's own generic pictures, by their places in its library: unknown file,
    // document, program.
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell32 = std::string(system) + "\\shell32.dll";
    for (int position : {0, 1, 2}) {
        AddFileIcon(images_, shell32, position);
    }
}

void LaunchPictures::ListChanged(const TreeModel& tree, const MenuItem& launch)
{
    ++round_;
    icons_.TakeAnswers();   // about the list before
    nodes_.clear();
    files_.clear();
    for (int i = 0; i < tree.Count(); ++i) {
        if (const LaunchEntry* entry = EntryOf(tree.Node(i))) {
            std::vector<int>& nodes = nodes_[entry->File];
            if (nodes.empty()) {
                files_.push_back(entry->File);
            }
            nodes.push_back(i);
        }
    }
    if (images_.Count() > kProgram + 1 + static_cast<int>(nodes_.size()) + kSlack) {
        ResetImages();
    }
    // Pictures of files no longer in the list are let go with their places.
    for (auto it = known_.begin(); it != known_.end();) {
        it = nodes_.count(it->first) ? std::next(it) : known_.erase(it);
    }

    const auto items = ItemsByNumber(launch);
    for (int i = 0; i < tree.Count(); ++i) {
        const LaunchEntry* entry = EntryOf(tree.Node(i));
        if (!entry) {
            SetImage(items, i, kFolder);
            continue;
        }
        const auto found = known_.find(entry->File);
        if (found != known_.end()) {
            SetImage(items, i, found->second.index);
            continue;
        }
        SetImage(items, i, GenericPicture(entry->File));
    }
    Ask();
}

void LaunchPictures::Ask()
{
    // In list order, so that the first items get their pictures first.
    std::vector<FileIcons::Question> questions;
    questions.reserve(files_.size());
    for (const std::string& file : files_) {
        const auto found = known_.find(file);
        questions.push_back({round_, file,
                             found == known_.end() ? std::nullopt : std::optional(found->second.stamp),
                             images_.Width()});
    }
    icons_.Ask(std::move(questions));
    lastAsked_ = GetTickCount();
}

void LaunchPictures::TakeAnswers(const MenuItem& launch)
{
    std::vector<FileIcons::Answer> answers = icons_.TakeAnswers();
    answers.erase(std::remove_if(answers.begin(), answers.end(),
                                 [this](const FileIcons::Answer& a) {
                                     return a.round != round_ || !nodes_.count(a.file);
                                 }),
                  answers.end());
    if (answers.empty()) {
        return;
    }
    const auto items = ItemsByNumber(launch);
    if (images_.Count() + static_cast<int>(answers.size()) >
        kProgram + 1 + static_cast<int>(files_.size()) + kSlack) {
        // Files that changed again and again have filled the list with pictures no item shows
        // any more: it starts afresh, every file's item shows its kind's picture until the
        // worker has looked again.
        ResetImages();
        for (const auto& [file, nodes] : nodes_) {
            for (int node : nodes) {
                SetImage(items, node, GenericPicture(file));
            }
        }
        Ask();
    }
    // All new pictures in one step: the list takes many at once far faster than one by one.
    std::vector<const Picture*> pictures;
    const int first = images_.Count();
    for (const FileIcons::Answer& answer : answers) {
        Known& known = known_[answer.file];
        known.stamp = answer.stamp;
        known.index = -1;
        if (answer.picture) {
            known.index = first + static_cast<int>(pictures.size());
            pictures.push_back(&*answer.picture);
        }
    }
    images_.AddPictures(pictures);
    for (const FileIcons::Answer& answer : answers) {
        const int index = known_[answer.file].index;
        for (int node : nodes_[answer.file]) {
            SetImage(items, node, index);
        }
    }
}

void LaunchPictures::Refresh()
{
    if (icons_.Idle() && !files_.empty() && GetTickCount() - lastAsked_ >= recheckPause_) {
        Ask();
    }
}

bool LaunchPictures::SetPictureSize(int size)
{
    if (images_.Width() == size && images_.Height() == size) {
        return false;
    }
    ++round_;
    images_.SetSize(size, size);
    ResetImages();
    return true;
}

bool LaunchPictures::Settled()
{
    return icons_.Idle() && !icons_.AnswersWaiting();
}
