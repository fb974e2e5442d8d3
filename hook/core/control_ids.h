// The ids of the standard file dialog's own controls (and of the Print dialog's, which the
// classifier must tell apart), with the names the Windows SDK's <dlgs.h> gives them, so that
// every file addresses a control by one name.
#pragma once

namespace vn {

constexpr int kIdComboDropList = 1000; // the drop-down list (ComboLBox) of any combo box
constexpr int kIdBrandLabel = 1024;    // psh1: where PKZIP's own dialogs show the vendor's name
constexpr int kIdOkDropDown = 1024;    // psh1 of the item dialog: the arrow beside OK
constexpr int kIdHelpButton = 1038;    // pshHelp
constexpr int kIdPrintGroupBox = 1072; // grp1 of the Print dialog, never in a file dialog
constexpr int kIdHiddenLabel = 1088;   // stc1
constexpr int kIdTypesLabel = 1089;    // stc2 "Files of type:"
constexpr int kIdNameLabel = 1090;     // stc3 "File name:"
constexpr int kIdLookInLabel = 1091;   // stc4 "Look in:"
constexpr int kIdFileList = 1120;      // lst1: the file list placeholder
constexpr int kIdShellView = 1121;     // lst2: the container of the shell's file view
constexpr int kIdFileTypes = 1136;     // cmb1: the file-type drop-down
constexpr int kIdLookIn = 1137;        // cmb2: the Look-in drop-down
constexpr int kIdNameCombo = 1148;     // cmb13: the file name box as a combo box
constexpr int kIdNameEdit = 1152;      // edt1: the file name box as an edit box
constexpr int kIdPlacesBar = 1184;     // ctl1: the places bar
constexpr int kIdShellListView = 1;    // the list view inside the shell view

} // namespace vn
