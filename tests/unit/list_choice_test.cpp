#include "hook/commands/list_choice.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

namespace vn {
namespace {

// Plays a recorded sequence of one list's notifications and returns what the glue was asked to
// do. A token is a letter and the selected row; the letter's place in kCodes is the notification
// code: s CBN_SELCHANGE, f CBN_SETFOCUS, l CBN_KILLFOCUS, v CBN_DROPDOWN, c CBN_CLOSEUP,
// k CBN_SELENDOK, x CBN_SELENDCANCEL; r is the glue refilling the list. "^" marks the list as
// dropped down when the notification arrives, "!" the Ctrl key as held. The glue's share of
// showListEditEntries is played as well.
constexpr const char* kCodes = ".s.fl..vckx";

std::string Play(const char* sequence, DropList list = DropList::kRecentFolders,
                 bool include = false, ListChoiceState* end = nullptr) {
    HookSettings settings = {};
    settings.includeEditRecent = settings.includeAddEditFavs = include;
    ListChoiceState state = {};
    std::istringstream in(sequence);
    std::string token, out;
    while (in >> token) {
        int row = std::stoi(token.substr(1));
        if (token[0] == 'r') {
            ListRefilled(state, row);
            continue;
        }
        ListNotice notice = {static_cast<uint16_t>(std::string(kCodes).find(token[0])), row,
                             token.find('^') != std::string::npos,
                             token.find('!') != std::string::npos};
        ListReply reply = StepListChoice(state, list, notice, settings);
        std::string said;
        if (reply.step != ListStep::kNothing)
            said += (reply.step == ListStep::kChoose ? " choose " : " back ") +
                    std::to_string(reply.index);
        said += reply.showDropDown ? " open" : "";
        if (reply.refill == ListRefill::kShowCommandRows)
            said += " show-rows", settings.showListEditEntries = 1;
        if (reply.refill == ListRefill::kHideCommandRows)
            said += " hide-rows", settings.showListEditEntries = 0;
        said += reply.refill == ListRefill::kFollowFolder ? " follow" : "";
        out += said.empty() ? "" : (out.empty() ? "" : ";") + said.substr(1);
    }
    if (end)
        *end = state;
    return out;
}

struct Sequence {
    const char* what;
    const char* played;
    const char* expected;
};

template <size_t N>
void ExpectAll(const Sequence (&rows)[N]) {
    for (const Sequence& row : rows)
        EXPECT_EQ(Play(row.played), row.expected) << row.what;
}

TEST(ListChoice, MouseChoosesOncePerPick) {
    const Sequence rows[] = {
        {"another row: chosen at press, echoed at release", "v0 k3^ c3 s3 k3 s3", "choose 3"},
        {"the row already shown", "v2 k2^ c2 s2", "choose 2"},
        {"picked again in a new drop-down", "v0 k3^ c3 s3 v3 k3^ c3 s3", "choose 3;choose 3"},
        {"SELCHANGE before SELENDOK", "v0 s3^ k3^ c3", "choose 3"},
        {"dropped, closed unchanged", "v1 c1", ""},
        {"cancelled outside the list", "v2 x2^ c2", ""},
        {"tracked to a row, then cancelled", "v2 s5^ x5^ c2 s2", "back 2"},
        {"the choice takes the focus while the list closes", "v0 k3^ x3^ c3 l3 s3", "choose 3"},
        {"no SELENDOK: chosen at the close-up", "v0 s3^ c3", "choose 3"},
        {"no SELENDOK: chosen at the SELCHANGE after the close-up", "v0 c0 s3", "choose 3"},
    };
    ExpectAll(rows);
}

TEST(ListChoice, KeyboardChoosesOnEnterAndMovesWhileClosed) {
    const Sequence rows[] = {
        {"focus opens the list", "f0", "open"},
        {"arrows in the open list, Enter", "v0 s1^ s2^ k2^ c2", "choose 2"},
        {"arrows in the open list, Escape", "v0 s1^ s2^ x2^ c2", "back 0"},
        {"Tab out of the open list", "v0 s3^ x3^ c0 l0", "back 0"},
        {"arrows in the closed list", "k1 s1 k2 s2", "choose 1;choose 2"},
        {"arrow at the end of the list", "k2 s2 k2 s2", "choose 2"},
        {"typing in the closed list", "k4 s4", "choose 4"},
        {"typing in the open list", "v0 k4^ c4 s4", "choose 4"},
        {"arrows that only say SELCHANGE, then Tab", "s1 s2 x2 l0", "back 0"},
        {"arrows that only say SELCHANGE, focus lost", "s1 l1", "choose 1"},
        {"first arrow after an Escape", "v0 s2^ x2^ c0 s1 x1 l0", "back 0;back 0"},
    };
    ExpectAll(rows);
}

TEST(ListChoice, SelEndOkChoosesWhateverCameBefore) {
    for (const char* before : {"", "f0 ", "l0 ", "c0 ", "v0 ", "s2 ", "x0 ", "v0 s1^ "}) {
        std::string out = Play((std::string(before) + "k5").c_str());
        EXPECT_EQ(out.substr(out.find("choose")), "choose 5") << before;
    }
}

TEST(ListChoice, NoRowSelectedChoosesNothing) {
    const Sequence rows[] = {
        {"empty list", "v-1 k-1^ c-1 s-1", ""},
        {"closed up without a row", "v-1 s-1^ c-1", ""},
        {"after a choice", "k3 k-1 s-1 l-1", "choose 3"},
    };
    ExpectAll(rows);
}

TEST(ListChoice, CommandRowsComeWithCtrlAndGoAtCloseUp) {
    const Sequence rows[] = {
        {"EDIT row chosen, editor refills, rows go", "v2! r0 k1^ r0 c0 r0 s0 k0 s0",
         "show-rows;choose 1;hide-rows"},
        {"Escape", "v2! r0 s3^ x3^ c3 r0", "show-rows;back 0;hide-rows"},
        {"a refill at the close-up drops the unsaid pick", "v2! r0 c4 r0 s0",
         "show-rows;hide-rows"},
        {"an open list refilled keeps its gesture", "v3 r0 k0^ c0", "choose 0"},
    };
    ExpectAll(rows);
    EXPECT_EQ(Play("v0! c0", DropList::kRecentFolders, true), "");
    EXPECT_EQ(Play("v0! c0", DropList::kFavoriteFiles, true), "");
    EXPECT_EQ(Play("v0 c0", DropList::kFavoriteFiles), "follow");
    EXPECT_EQ(Play("v0 c0", DropList::kRecentFiles, true), "follow");
    EXPECT_EQ(Play("v0 c0", DropList::kFavoriteFolders), "");
}

TEST(ListChoice, ComboNotifyStateKeepsTheLastUnusedCode) {
    const std::pair<const char*, int> rows[] = {{"v0", 7},     {"v0 c0", 8},     {"f0", 3},
                                                {"v0 k2^", 0}, {"v0 k2^ c2", 8}, {"v0 x0^", 10},
                                                {"s1 l1", 0},  {"l0", 4}};
    for (const auto& row : rows) {
        ListChoiceState state = {};
        Play(row.first, DropList::kRecentFiles, false, &state);
        EXPECT_EQ(state.comboNotifyState, row.second) << row.first;
    }
}

class TableCaptions final : public CaptionSource {
  public:
    std::map<int, std::string> texts = {{588, " --> ADD Selected File or Mask"},
                                        {589, " --> ADD Current Folder"},
                                        {590, " --> EDIT Favorites"},
                                        {592, " --> ADD Selected File or Mask to All"},
                                        {593, " --> ADD Current Folder to All"},
                                        {594, " --> EDIT Favorites for All"},
                                        {599, " --> EDIT Recent Files/Folders"},
                                        {600, " --> EDIT Recent Files/Folders for All"}};
    bool Caption(int id, char* buf, size_t size) override {
        return texts.count(id) && snprintf(buf, size, "%s", texts[id].c_str()) >= 0;
    }
};

TEST(ListChoice, RowsAreCommandsOnlyByExactCaption) {
    using L = DropList;
    using C = RowCommand;
    struct Row {
        L list;
        const char* text;
        int command; // -1: an entry
        bool forAll;
    } rows[] = {
        {L::kRecentFiles, " --> EDIT Recent Files/Folders", int(C::kEditRecent), false},
        {L::kRecentFolders, " --> EDIT Recent Files/Folders for All", int(C::kEditRecent), true},
        {L::kFavoriteFiles, " --> ADD Selected File or Mask", int(C::kAddSelectedFile), false},
        {L::kFavoriteFiles, " --> EDIT Favorites for All", int(C::kEditFavorites), true},
        {L::kFavoriteFolders, " --> ADD Current Folder to All", int(C::kAddCurrentFolder), true},
        {L::kFavoriteFolders, " --> EDIT Favorites", int(C::kEditFavorites), false},
        {L::kRecentFiles, " --> EDIT Favorites", -1, false},
        {L::kFavoriteFolders, " --> ADD Selected File or Mask", -1, false},
        {L::kFavoriteFiles, " --> edit favorites", -1, false},
        {L::kRecentFiles, " Recent Files Used...", -1, false},
        {L::kRecentFiles, nullptr, -1, false},
    };
    TableCaptions captions;
    for (const Row& row : rows) {
        ChosenRow chosen = ClassifyListRow(row.list, row.text, captions);
        EXPECT_EQ(chosen.isCommand ? int(chosen.command.command) : -1, row.command) << row.text;
        EXPECT_EQ(chosen.isCommand && chosen.command.forAllApplications, row.forAll) << row.text;
    }
    // The first equal caption wins; a caption that does not load, or loads empty, matches nothing.
    captions.texts[594] = captions.texts[590];
    EXPECT_FALSE(ClassifyListRow(L::kFavoriteFiles, " --> EDIT Favorites", captions)
                     .command.forAllApplications);
    captions.texts.erase(599);
    captions.texts[600] = "";
    EXPECT_FALSE(
        ClassifyListRow(L::kRecentFiles, " --> EDIT Recent Files/Folders", captions).isCommand);
    EXPECT_FALSE(ClassifyListRow(L::kRecentFiles, " ", captions).isCommand);
    // Padded separator and title rows are never read into a path buffer.
    EXPECT_TRUE(ListRowFits(260));
    EXPECT_FALSE(ListRowFits(261));
    EXPECT_FALSE(ListRowFits(-1));
}

TEST(ListChoice, EntryActions) {
    using L = DropList;
    using E = EntryStep;
    struct Row {
        L list;
        const char* entry;
        E step;
        const char* path;
    } rows[] = {
        {L::kRecentFiles, "C:\\docs\\a.txt", E::kGoToFile, "C:\\docs\\a.txt"},
        {L::kRecentFiles, "C:\\docs\\*.txt", E::kGoToFile, "C:\\docs\\*.txt"},
        {L::kRecentFiles, "-----", E::kNothing, ""},
        {L::kRecentFiles, "= All Applications =", E::kNothing, ""},
        {L::kRecentFiles, "", E::kNothing, ""},
        {L::kRecentFiles, nullptr, E::kNothing, ""},
        {L::kRecentFolders, "C:\\", E::kGoToFolder, "C:\\"},
        {L::kRecentFolders, "C:\\work\\", E::kGoToFolder, "C:\\work"},
        {L::kRecentFolders, "C:\\work\\\\", E::kGoToFolder, "C:\\work\\"},
        {L::kFavoriteFolders, "\\\\srv\\share\\", E::kGoToFolder, "\\\\srv\\share"},
        {L::kFavoriteFolders, "C:\\a*\\", E::kGoToFolder, "C:\\a*"},
        {L::kFavoriteFiles, "C:\\docs\\*.txt", E::kApplyMask, "C:\\docs\\*.txt"},
        {L::kFavoriteFiles, "-a?.bak", E::kApplyMask, "-a?.bak"},
        {L::kFavoriteFiles, "C:\\docs\\a.txt", E::kGoToFile, "C:\\docs\\a.txt"},
        {L::kFavoriteFiles, "-x.txt", E::kNothing, ""},
    };
    for (const Row& row : rows) {
        EntryAction action = EntryActionOf(row.list, row.entry);
        EXPECT_EQ(action.step, row.step) << (row.entry ? row.entry : "null");
        EXPECT_STREQ(action.path, row.path) << (row.entry ? row.entry : "null");
    }
}

TEST(ListChoice, ListsFollowTheFolderOnlyWithRelativePaths) {
    struct Row {
        int option, showRecent, showFavorites;
        const char *folder, *listFolder;
        bool changed, recent, favorites;
    } rows[] = {
        {2, 1, 0, "C:\\Work", "C:\\Old", true, true, false},
        {2, 1, 1, "C:\\Work", "C:\\work", true, true, true},
        {2, 0, 1, "C:\\Work", "", true, false, true},
        {2, 1, 1, "C:\\Work", "C:\\Work", false, false, false},
        {1, 1, 1, "C:\\Work", "C:\\Old", false, false, false},
        {2, 0, 0, "C:\\Work", "C:\\Old", false, false, false},
    };
    for (const Row& row : rows) {
        HookSettings settings = {};
        settings.recentPathOption = row.option;
        settings.showRecent = row.showRecent;
        settings.showFavorites = row.showFavorites;
        FolderRefill refill = ListsToRefillForFolder(settings, row.folder, row.listFolder);
        EXPECT_EQ(refill.folderChanged, row.changed) << row.listFolder;
        EXPECT_EQ(refill.recent, row.recent) << row.listFolder;
        EXPECT_EQ(refill.favorites, row.favorites) << row.listFolder;
    }
}

TEST(ListChoice, DispatchOfTheDialogsCommands) {
    enum Flag {
        kPost = 1,
        kKeep = 2,
        kRebuild = 4,
        kCancelled = 8,
        kClearOk = 16,
        kList = 32,
        kTyped = 64
    };
    struct Row {
        int id;
        uint16_t code;
        int32_t nameId;
        bool ignoreOk;
        int flags;
    } rows[] = {
        {1152, 0x100, 1152, false, kPost},
        {1152, 0x300, 1152, false, kPost | kTyped},
        {1152, 0x400, 1152, false, 0},
        {1152, 0x300, 1148, false, 0},
        {1148, 5, 1148, false, kPost | kTyped},
        {1148, 4, 1148, false, kPost},
        {1148, 1, 1148, false, 0},
        {1, 0, 1152, false, kPost},
        {1, 0, 1152, true, kClearOk},
        {2, 0, 1152, false, kCancelled},
        {1120, 7, 1152, false, kRebuild},
        {1121, 0, 1152, false, kRebuild},
        {1136, 9, 1152, false, kKeep | kRebuild},
        {1137, 1, 1152, false, kRebuild},
        {1137, 3, 1152, false, kRebuild},
        {1137, 7, 1152, false, 0},
        {0xA001, 0, 1152, false, kPost},
        {19008, 7, 1152, false, kList},
        {19011, 1, 1152, false, kList},
        {19000, 6, 1152, false, 0},
        {19012, 0, 1152, false, 0},
        {1000, 0, 1152, false, 0},
    };
    for (const Row& row : rows) {
        CommandDecision d = DecideCommand(row.id, row.code, row.nameId, row.ignoreOk);
        int flags = (d.postInfoRefresh ? kPost : 0) | (d.keepFileType ? kKeep : 0) |
                    (d.rebuildInfoLine ? kRebuild : 0) | (d.recordCancel ? kCancelled : 0) |
                    (d.clearIgnoreNextOk ? kClearOk : 0) |
                    (d.command == DialogCommand::kListNotice ? kList : 0) | (d.typing ? kTyped : 0);
        EXPECT_EQ(flags, row.flags) << row.id << " " << row.code;
    }
    EXPECT_EQ(DecideCommand(19010, 9, 1152, false).list, DropList::kFavoriteFiles);
    using D = DialogCommand;
    const D buttons[] = {D::kDelete,          D::kRename, D::kMakeDir,           D::kFind,
                         D::kPathToClipboard, D::kCopy,   D::kOpenConfiguration, D::kMove};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(DecideCommand(19000 + i, 0, 1152, false).command, buttons[i]) << 19000 + i;
}

} // namespace
} // namespace vn
