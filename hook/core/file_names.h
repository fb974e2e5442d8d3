// Names of the files the system keeps in its data and program folders.
#pragma once

namespace vn {

constexpr const char* kTrainedDbFileName = "vantor.dat";
constexpr const char* kAllAppsListFileName = "ALLAPPS.vni";
constexpr const char* kHelpFileName = "vantor.hlp";

} // namespace vn
