#pragma once

#include <functional>
#include <string>

// Every file the system replaces (cookie files, protection lists, profile files)
// goes through ReplaceFileContents: the new content is written to a temporary
// file beside the target and renamed over it, so a failed write never loses the
// old content. A symbolic link is followed and its target replaced. Where the
// folder refuses a new file but the file itself may be written, its contents
// are replaced in place instead (truncated, written, flushed to disk).
// Returns false when the file could not be replaced; the old file is then whole.
bool ReplaceFileContents(const std::string& strPath, const std::string& strContent);

// The steps of a replacement, for fault injection in tests.
enum class EReplaceStep
{
    Create,
    Write,
    Flush,
    Rename,
};

// While set, the hook is asked before each step (Write and Flush also in
// place); returning true makes that step fail as if the system had refused it,
// a refused Create without falling back to writing in place. Pass nullptr to remove it.
void SetReplaceFaultHook(std::function<bool(EReplaceStep)> fnHook);

// Deletes a file (not a folder). False when it could not be deleted.
// bSeenAsFile: the caller has just looked at it and found a file, so it is not
// looked at again (a folder put there since still stays).
bool DeleteFileAt(const std::string& strPath, bool bSeenAsFile = false);
