#include "hook/core/shared_state.h"

#include "hook/core/settings.h"

#include <cstring>

namespace vn {

// 32- and 64-bit processes map the same bytes, so every field must sit at the same offset in
// every build. Each build checks the whole layout here; a field that moves in one of them stops
// that build instead of corrupting the state the other bitness reads.
VN_CHECK_OFFSET(SharedState, settings, 0);
VN_CHECK_OFFSET(SharedState, excludes, 260);
VN_CHECK_OFFSET(SharedState, sizeExcludes, 9864);
VN_CHECK_OFFSET(SharedState, lastDirExcludes, 19468);
VN_CHECK_OFFSET(SharedState, lastPositionKnown, 29072);
VN_CHECK_OFFSET(SharedState, lastSizeKnown, 29076);
VN_CHECK_OFFSET(SharedState, lastLeft, 29080);
VN_CHECK_OFFSET(SharedState, lastTop, 29084);
VN_CHECK_OFFSET(SharedState, lastWidth, 29088);
VN_CHECK_OFFSET(SharedState, lastHeight, 29092);
VN_CHECK_OFFSET(SharedState, pathsReady, 29096);
VN_CHECK_OFFSET(SharedState, helpFilePath, 29100);
VN_CHECK_OFFSET(SharedState, iniFilePath, 29364);
VN_CHECK_OFFSET(SharedState, allAppsListPath, 29628);
VN_CHECK_OFFSET(SharedState, programFolder, 29892);
VN_CHECK_OFFSET(SharedState, dataFolder, 30156);
VN_CHECK_OFFSET(SharedState, trainedDbPath, 30420);
VN_CHECK_OFFSET(SharedState, showUsageNote, 30684);
VN_CHECK_OFFSET(SharedState, hookCount, 30688);
VN_CHECK_OFFSET(SharedState, managerWindow, 30692);
VN_CHECK_OFFSET(SharedState, mouseHook, 30696);
VN_CHECK_OFFSET(SharedState, cbtHook, 30700);
VN_CHECK_OFFSET(SharedState, notSoCommonEnabled, 30712);
VN_CHECK_OFFSET(SharedState, commonEnabled, 30716);
VN_CHECK_OFFSET(SharedState, trainingTarget, 30720);
VN_CHECK_OFFSET(SharedState, candidateWindow, 30724);
VN_CHECK_OFFSET(SharedState, trainingActive, 30728);
VN_CHECK_OFFSET(SharedState, trainingSelecting, 30732);
VN_CHECK_OFFSET(SharedState, trainedMatchPending, 30736);
VN_CHECK_OFFSET(SharedState, trainingWindowOpen, 30740);
VN_CHECK_OFFSET(SharedState, fileDialogPending, 30744);
VN_CHECK_OFFSET(SharedState, comdlgControlSeen, 30748);
VN_CHECK_OFFSET(SharedState, listTwoSeen, 30752);
VN_CHECK_OFFSET(SharedState, fileControlCount, 30756);
VN_CHECK_OFFSET(SharedState, trainingStep, 30760);
VN_CHECK_OFFSET(SharedState, matchedTrainedIndex, 30764);
VN_CHECK_OFFSET(SharedState, replacementOwner, 30768);
VN_CHECK_OFFSET(SharedState, extendedDialogs, 30772);
VN_CHECK_OFFSET(SharedState, recentWindows, 30812);
VN_CHECK_OFFSET(SharedState, recentWindowNext, 38012);
VN_CHECK_OFFSET(SharedState, recentWindowCount, 38014);
VN_CHECK_OFFSET(SharedState, trainedState, 38016);
VN_CHECK_OFFSET(SharedState, trainedEntries, 38020);
VN_CHECK_OFFSET(SharedState, trainedCount, 291156);
VN_CHECK_OFFSET(SharedState, training, 291160);
VN_CHECK_OFFSET(SharedState, lists, 291320);
VN_CHECK_OFFSET(SharedState, cbtHook32, 395760);
VN_CHECK_OFFSET(SharedState, reserved32, 395764);

void InitSharedState(SharedState& s) {
    memset(&s, 0, sizeof s);
    SetLibraryDefaults(s.settings);
    s.showUsageNote = 1;
    s.notSoCommonEnabled = 1;
    s.commonEnabled = 1;
}

} // namespace vn
