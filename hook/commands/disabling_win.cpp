#include "hook/commands/disabling_win.h"

#include "hook/core/manager_link_win.h"
#include "hook/core/process_win.h"
#include "hook/core/settings_win.h"
#include "hook/core/text.h"
#include "hook/core/trace_win.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"

namespace vn {
namespace {

constexpr int kCheckBoxIds[3] = {IDC_DISABLE_FILE_MANAGEMENT, IDC_DISABLE_SIZING,
                                 IDC_DISABLE_LAST_FOLDER};
constexpr UINT kDisablingHelpContext = 1036;

struct DisablingContext {
    char module[kListEntrySize];
    DisablingAnswer answer;
};

INT_PTR CALLBACK DisablingProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    auto* ctx = reinterpret_cast<DisablingContext*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        // An open dialog of the manager's list like the one it stands in front of: quitting
        // Vantor meanwhile asks first.
        if (const SharedState* s = Shared())
            PostToManager(*s, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(box), 0);
        for (int id : kCheckBoxIds)
            CheckDlgButton(box, id, BST_CHECKED);
        CheckRadioButton(box, IDC_DISABLE_TEMPORARILY, IDC_DISABLE_PERMANENTLY,
                         IDC_DISABLE_TEMPORARILY);
        EnableWindow(GetDlgItem(box, IDC_DISABLE_ALL_DIALOGS), FALSE);
        return TRUE;
    case WM_CLOSE:
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_DESTROY:
        if (const SharedState* s = Shared())
            PostToManager(*s, MSG_DIALOG_CLOSED, reinterpret_cast<WPARAM>(box), 0);
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_DISABLE_TEMPORARILY:
        case IDC_DISABLE_PERMANENTLY:
            EnableWindow(GetDlgItem(box, IDC_DISABLE_ALL_DIALOGS),
                         IsDlgButtonChecked(box, IDC_DISABLE_PERMANENTLY) == BST_CHECKED);
            return TRUE;
        case IDC_HELP_BUTTON:
            ShowLibraryHelp(box, kDisablingHelpContext);
            return TRUE;
        case IDOK:
            if (ctx) {
                ctx->answer.ok = true;
                for (int i = 0; i < 3; ++i)
                    ctx->answer.checked[i] =
                        IsDlgButtonChecked(box, kCheckBoxIds[i]) == BST_CHECKED;
                ctx->answer.permanent =
                    IsDlgButtonChecked(box, IDC_DISABLE_PERMANENTLY) == BST_CHECKED;
                ctx->answer.allDialogs =
                    IsDlgButtonChecked(box, IDC_DISABLE_ALL_DIALOGS) == BST_CHECKED;
            }
            EndDialog(box, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(box, IDCANCEL);
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

} // namespace

DisablingEffect ShowDisablingDialog(HWND owner, const char* module, const ExcludeFlags& before) {
    DisablingContext ctx = {};
    CopyText(ctx.module, sizeof ctx.module, module);
    if (DialogBoxParamA(g_process.moduleInstance, "VNDISABLING", owner, DisablingProc,
                        reinterpret_cast<LPARAM>(&ctx)) <= 0)
        ctx.answer = {}; // as if cancelled
    DisablingEffect effect = ApplyDisablingAnswer(ctx.answer, before);
    SharedState* s = Shared();
    if (s && effect.notifyManager) {
        for (int kind = 0; kind < kExcludeKinds; ++kind) {
            if (!effect.addNow[kind])
                continue;
            ExcludeWrite done =
                AddExcludeToFile(*s, static_cast<ExcludeKind>(kind), ctx.module, nullptr);
            if (done == ExcludeWrite::kBusy)
                VN_TRACE("exclusion %d of %s not written: the settings file is busy", kind,
                         ctx.module);
        }
        SendToManager(*s, MSG_SETTINGS_CHANGED, reinterpret_cast<WPARAM>(ctx.module), 0, nullptr);
    }
    return effect;
}

} // namespace vn
