#include "hook/commands/find_walk.h"

#include "hook/core/text.h"

#include <cstring>
#include <new>

namespace vn {

namespace {

bool IsDirectory(const FoundFile& file) {
    return (file.attributes & kFindDirectoryAttribute) != 0;
}

// Where a root's last part starts: after its last "\" or ":" (0 when it has neither).
size_t LastPartStart(const char* root) {
    size_t start = 0;
    for (size_t i = 0; root[i]; ++i)
        if (root[i] == '\\' || root[i] == ':')
            start = i + 1;
    return start;
}

} // namespace

bool SplitMasks(const char* text, FindMasks* out) {
    std::memset(out, 0, sizeof *out);
    text = text ? text : "";
    for (int slot = 0; slot < kFindMaskSlots; ++slot) {
        const char* end = std::strchr(text, ';');
        size_t length = end ? static_cast<size_t>(end - text) : std::strlen(text);
        if (length >= kFindMaskSize)
            length = kFindMaskSize - 1;
        std::memcpy(out->slot[slot], text, length);
        out->slot[slot][length] = 0;
        if (!end)
            return true;
        text = end + 1;
    }
    return !*text;
}

void SplitFileName(const char* name, char* base, char* extension, size_t cap) {
    const char* dot = std::strrchr(name, '.');
    if (!dot || (dot == name && dot[1] == 0)) {
        CopyText(base, cap, name);
        CopyText(extension, cap, "");
        return;
    }
    if (dot == name) { // ".profile": no base, the rest is the extension
        CopyText(base, cap, "");
        CopyText(extension, cap, name + 1);
        return;
    }
    size_t baseLength = static_cast<size_t>(dot - name);
    CopyText(base, baseLength + 1 < cap ? baseLength + 1 : cap, name);
    CopyText(extension, cap, dot + 1);
}

void FormatFoundLine(const FindEntry& entry, char* line, size_t cap) {
    JoinPath(line, cap, entry.folder, entry.base);
    if (IsDirectory(entry.file) && std::strcmp(entry.extension, "   ") == 0)
        return;
    AppendText(line, cap, ".");
    AppendText(line, cap, entry.extension);
}

bool RootNeedsFolderTest(const char* root) {
    if (root[0] == '\\' && root[1] == '\\')
        return false;
    return root[LastPartStart(root)] != 0;
}

void CutRootToMask(const char* root, const char* masksField, char* folder, size_t folderCap,
                   char* masks, size_t masksCap) {
    size_t start = LastPartStart(root);
    CopyText(folder, start + 1 < folderCap ? start + 1 : folderCap, root);
    CopyText(masks, masksCap, masksField && masksField[0] ? masksField : root + start);
}

FolderWalk::FolderWalk(FindSystem& system, const char* folder, const char* masksText)
    : system_(system) {
    CopyText(folder_, sizeof folder_, folder);
    valid_ = SplitMasks(masksText, &masks_) && system_.DriveReady(folder_);
}

FolderWalk::FolderWalk(FindSystem& system, const char* folder, const FindMasks& masks,
                       bool foldersOnly, int* reads)
    : system_(system), masks_(masks), foldersOnly_(foldersOnly), valid_(true), reads_(reads) {
    CopyText(folder_, sizeof folder_, folder);
}

FolderWalk::~FolderWalk() {
    nested_.reset();
    subfolders_.reset();
    CloseSearch();
}

void FolderWalk::CloseSearch() {
    if (search_)
        system_.FindClose(search_);
    search_ = nullptr;
}

WalkResult FolderWalk::Next(FindEntry* out) {
    if (ended_)
        return endResult_;
    *reads_ = 0;
    WalkResult result = system_.StopRequested() ? WalkResult::kStopped : Step(out);
    if (result == WalkResult::kEntry)
        return result;
    nested_.reset();
    subfolders_.reset();
    CloseSearch();
    ended_ = true;
    endResult_ = result;
    return result;
}

// The stop check inside a step, once every kFindReadsPerCheck reads.
bool FolderWalk::StopBetweenReads() {
    if (++*reads_ < kFindReadsPerCheck)
        return false;
    *reads_ = 0;
    return system_.StopRequested();
}

// The next match of this folder's own masks (kEntry); kComplete when they are exhausted.
WalkResult FolderWalk::Match(FindEntry* out) {
    while (!matchingDone_) {
        if (StopBetweenReads())
            return WalkResult::kStopped;
        FoundFile file{};
        if (newSlot_) {
            const char* mask = slot_ < kFindMaskSlots ? masks_.slot[slot_] : "";
            if (slot_ >= kFindMaskSlots || (slot_ > 0 && !mask[0])) {
                matchingDone_ = true;
                break;
            }
            char pattern[kFindNameSize];
            JoinPath(pattern, sizeof pattern, folder_, foldersOnly_ || !mask[0] ? "*.*" : mask);
            search_ = system_.FindFirst(pattern, &file);
            newSlot_ = false;
        } else if (!system_.FindNext(search_, &file)) {
            CloseSearch();
        }
        if (!search_) {
            newSlot_ = true;
            if (++slot_ >= kFindMaskSlots || foldersOnly_)
                matchingDone_ = true;
            continue;
        }
        file.name[kFindNameSize - 1] = 0;
        if (IsDirectory(file) && file.name[0] == '.')
            continue;
        if (foldersOnly_ && !IsDirectory(file))
            continue;
        out->file = file;
        SplitFileName(file.name, out->base, out->extension, sizeof out->base);
        CopyText(out->folder, sizeof out->folder, folder_);
        return WalkResult::kEntry;
    }
    return WalkResult::kComplete;
}

WalkResult FolderWalk::Step(FindEntry* out) {
    if (!valid_)
        return WalkResult::kError;
    WalkResult result = Match(out);
    if (result != WalkResult::kComplete || foldersOnly_)
        return result;
    return Descend(out);
}

// Each subfolder in turn, depth first, once this folder's own matches are done. The walk
// recurses once per folder level, so the frames on that path stay small.
WalkResult FolderWalk::Descend(FindEntry* out) {
    for (;;) {
        if (nested_) {
            WalkResult result = nested_->Step(out);
            if (result == WalkResult::kEntry)
                return result;
            nested_.reset();
            if (result != WalkResult::kComplete)
                return result;
        }
        WalkResult result = OpenNextSubfolder();
        if (result != WalkResult::kEntry)
            return result;
    }
}

// Makes nested_ the walk of the next subfolder (kEntry), or ends with the subfolders' result.
// Entering a folder is a step of its own: where nothing matches for thousands of folders, the
// box still handles its messages and its Stop between them.
WalkResult FolderWalk::OpenNextSubfolder() {
    if (system_.StopRequested())
        return WalkResult::kStopped;
    if (!subfolders_) {
        subfolders_.reset(new (std::nothrow) FolderWalk(system_, folder_, masks_, true, reads_));
        if (!subfolders_)
            return WalkResult::kError;
    }
    FindEntry subfolder{};
    WalkResult result = subfolders_->Step(&subfolder);
    if (result != WalkResult::kEntry)
        return result;
    char path[kFindNameSize];
    JoinPath(path, sizeof path, folder_, subfolder.file.name);
    system_.ShowFolder(path);
    nested_.reset(new (std::nothrow) FolderWalk(system_, path, masks_, false, reads_));
    return nested_ ? WalkResult::kEntry : WalkResult::kError;
}

} // namespace vn
