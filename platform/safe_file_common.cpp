#include "platform/safe_file.h"
#include "platform/safe_file_fault.h"

namespace
{
std::function<bool(EReplaceStep)>& FaultHook()
{
    static std::function<bool(EReplaceStep)> s_fnHook;
    return s_fnHook;
}
} // namespace

void SetReplaceFaultHook(std::function<bool(EReplaceStep)> fnHook)
{
    FaultHook() = std::move(fnHook);
}

bool ReplaceStepFails(EReplaceStep step)
{
    const auto& fnHook = FaultHook();
    return fnHook && fnHook(step);
}
