#include "hook/core/shared_state.h"

#include "hook/core/settings.h"

#include <cstring>

namespace vn {

// 32- and 64-bit processes map the same bytes, so every field must sit at the same offset in
// every build. Each build checks the whole layout here; a field that moves in one of them stops
// that build instead of corrupting the state the other bitness reads.
VN_CHECK_OFFSET(SharedState, settings, 0);
VN_CHECK_OFFSET(SharedState, excludes, 252);
VN_CHECK_OFFSET(SharedState, sizeExcludes, 9856);
VN_CHECK_OFFSET(SharedState, lastDirExcludes, 19460);
VN_CHECK_OFFSET(SharedState, lastPositionKnown, 29064);
VN_CHECK_OFFSET(SharedState, lastSizeKnown, 29068);
VN_CHECK_OFFSET(SharedState, lastLeft, 29072);
VN_CHECK_OFFSET(SharedState, lastTop, 29076);
VN_CHECK_OFFSET(SharedState, lastWidth, 29080);
VN_CHECK_OFFSET(SharedState, lastHeight, 29084);
VN_CHECK_OFFSET(SharedState, pathsReady, 29088);
VN_CHECK_OFFSET(SharedState, helpFilePath, 29092);
VN_CHECK_OFFSET(SharedState, iniFilePath, 29356);
VN_CHECK_OFFSET(SharedState, allAppsListPath, 29620);
VN_CHECK_OFFSET(SharedState, programFolder, 29884);
VN_CHECK_OFFSET(SharedState, dataFolder, 30148);
VN_CHECK_OFFSET(SharedState, trainedDbPath, 30412);
VN_CHECK_OFFSET(SharedState, showUsageNote, 30676);
VN_CHECK_OFFSET(SharedState, hookCount, 30680);
VN_CHECK_OFFSET(SharedState, managerWindow, 30684);
VN_CHECK_OFFSET(SharedState, mouseHook, 30688);
VN_CHECK_OFFSET(SharedState, cbtHook, 30692);
VN_CHECK_OFFSET(SharedState, notSoCommonEnabled, 30704);
VN_CHECK_OFFSET(SharedState, commonEnabled, 30708);
VN_CHECK_OFFSET(SharedState, trainingTarget, 30712);
VN_CHECK_OFFSET(SharedState, candidateWindow, 30716);
VN_CHECK_OFFSET(SharedState, trainingActive, 30720);
VN_CHECK_OFFSET(SharedState, trainingSelecting, 30724);
VN_CHECK_OFFSET(SharedState, trainedMatchPending, 30728);
VN_CHECK_OFFSET(SharedState, trainingWindowOpen, 30732);
VN_CHECK_OFFSET(SharedState, fileDialogPending, 30736);
VN_CHECK_OFFSET(SharedState, comdlgControlSeen, 30740);
VN_CHECK_OFFSET(SharedState, listTwoSeen, 30744);
VN_CHECK_OFFSET(SharedState, fileControlCount, 30748);
VN_CHECK_OFFSET(SharedState, trainingStep, 30752);
VN_CHECK_OFFSET(SharedState, matchedTrainedIndex, 30756);
VN_CHECK_OFFSET(SharedState, replacementOwner, 30760);
VN_CHECK_OFFSET(SharedState, extendedDialogs, 30764);
VN_CHECK_OFFSET(SharedState, recentWindows, 30804);
VN_CHECK_OFFSET(SharedState, recentWindowNext, 38004);
VN_CHECK_OFFSET(SharedState, recentWindowCount, 38006);
VN_CHECK_OFFSET(SharedState, trainedState, 38008);
VN_CHECK_OFFSET(SharedState, trainedEntries, 38012);
VN_CHECK_OFFSET(SharedState, trainedCount, 291148);
VN_CHECK_OFFSET(SharedState, training, 291152);
VN_CHECK_OFFSET(SharedState, lists, 291312);
VN_CHECK_OFFSET(SharedState, cbtHook32, 395752);
VN_CHECK_OFFSET(SharedState, reserved32, 395756);

void InitSharedState(SharedState& s) {
    memset(&s, 0, sizeof s);
    SetLibraryDefaults(s.settings);
    s.showUsageNote = 1;
    s.notSoCommonEnabled = 1;
    s.commonEnabled = 1;
}

} // namespace vn
