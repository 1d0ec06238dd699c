#include "ContextMenuLogic.h"

#include "CommandLine.h"
#include "ProgramLocator.h"

namespace qlshell {

CContextMenuLogic::CContextMenuLogic(IRegistryReader& registry) : m_registry(registry) {}

void CContextMenuLogic::BeginSelection(uint32_t count) { m_selection.Begin(count); }

void CContextMenuLogic::AddSelectedPath(std::wstring_view path, const PathTest& isDirectory) {
    m_selection.Add(path, isDirectory);
}

std::vector<CMenuItem> CContextMenuLogic::BuildMenu(uint32_t idsAvailable) {
    return m_menu.Build(m_selection.FolderSelected(), m_registry, idsAvailable);
}

int32_t CContextMenuLogic::GetCommandString(uintptr_t idCmd, uint32_t type, void* name, uint32_t cchMax,
                                            const AnsiConverter& toAnsi) const {
    if (idCmd >= m_menu.GetCommandCount()) return kResultInvalidArgument;
    switch (type) {
    case kCommandStringHelpTextW:
    case kCommandStringHelpTextA: {
        const std::wstring text = m_menu.HelpText(static_cast<uint32_t>(idCmd)).value_or(L"");
        if (type == kCommandStringHelpTextW) {
            CopyHelpTextW(text, static_cast<wchar_t*>(name), cchMax);
        } else {
            CopyHelpTextA(text, static_cast<char*>(name), cchMax, toAnsi);
        }
        return kResultOk;
    }
    case kCommandStringValidateA:
    case kCommandStringValidateW:
        return kResultOk;
    default:
        // The handler has no verbs, so GCS_VERBA/W are refused like any other request.
        return kResultInvalidArgument;
    }
}

CInvokePlan CContextMenuLogic::InvokeCommand(uint32_t offset, bool ctrlDown, const PathTest& fileExists) {
    CInvokePlan plan;
    std::optional<CCommandAction> action = m_menu.ActionFor(offset);
    if (!action) return plan;

    std::optional<std::wstring> program = FindProgramPath(m_registry, fileExists);
    if (!program) {
        plan.outcome = InvokeOutcome::ProgramNotFound;
    } else {
        plan.parameters = BuildParameters(*action, m_selection.Paths(), ctrlDown);
        const bool fits = ShellCommandLineLength(*program, plan.parameters) <= kMaxProcessCommandLineChars;
        plan.outcome = fits ? InvokeOutcome::Launch : InvokeOutcome::SelectionTooLong;
        if (fits) plan.programPath = std::move(*program);
    }
    m_selection.ClearPaths();
    return plan;
}

}  // namespace qlshell
