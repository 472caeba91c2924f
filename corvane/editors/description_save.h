// Saving the description editor's text into the extra-descriptions files.
#pragma once

#include <string>
#include <string_view>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"

namespace corvane {

// doSave: puts `text` (the editor's text) into `file` as the section of `displayName`.
// - A missing file: "error" box `file` + "\non load :\n" + the reason, then the file is created
//   with the section and "[iniend]".
// - A file that exists but cannot be read (a folder, unreadable, too large) gets the same box and
//   is left as it is: writing the section alone would lose its other sections.
// - A failed write: "When saving file: " + `file` + "\nerror encountered:\n" + the reason, with
//   Retry (write again) and Ignore (give up on the file, which stays as it was). A read-only file
//   is not replaced.
void DoSave(const std::string& file, std::string_view displayName, std::string_view text,
            Dialogs& dialogs);

// SaveClick: checks the text (SectionProblem; an "error" box and nothing saved when it cannot be
// saved), saves into all four ExtraDescFiles in their order or into ExtraDescFiles[fileIndex],
// then reloads ExtraDescriptions from the file of OsKind. True when the editor may close.
bool SaveDescription(ProgramState& program, Dialogs& dialogs, std::string_view displayName,
                     std::string_view text, bool saveAll, int fileIndex);

}  // namespace corvane
