#include "ui/sound_player.h"

#include "platform/folder_search.h"

#ifdef JARVANE_HAVE_CANBERRA
#include <canberra.h>
#endif

namespace
{
SoundHook& Hook()
{
    static SoundHook s_fnHook;
    return s_fnHook;
}

#ifdef JARVANE_HAVE_CANBERRA
// One context for the program's life: opening it connects to the sound server,
// which is too slow to do for every sound.
ca_context* SoundContext()
{
    static ca_context* s_pContext = []
    {
        ca_context* pContext = nullptr;
        if (ca_context_create(&pContext) != CA_SUCCESS)
            return static_cast<ca_context*>(nullptr);
        ca_context_change_props(pContext, CA_PROP_APPLICATION_NAME, "Jarvane", nullptr);
        return pContext;
    }();
    return s_pContext;
}
#endif
} // namespace

void SetSoundHook(SoundHook fnHook)
{
    Hook() = std::move(fnHook);
}

int PlaySoundRequest(const CSoundRequest& request)
{
#ifdef JARVANE_HAVE_CANBERRA
    ca_context* pContext = SoundContext();
    if (pContext == nullptr)
        return CA_ERROR_NOTAVAILABLE;
    if (!request.strFile.empty())
        return ca_context_play(pContext, 0, CA_PROP_MEDIA_FILENAME, request.strFile.c_str(),
                               nullptr);
    return ca_context_play(pContext, 0, CA_PROP_EVENT_ID, request.strEventId.c_str(), nullptr);
#else
    (void)request;
    return -1;
#endif
}

void PlaySoundFileAsync(const std::string& strPath)
{
    CSoundRequest request;
    if (IsRegularFile(strPath))
        request.strFile = strPath;
    else
        request.strEventId = "bell";
    if (Hook())
        Hook()(request);
    else
        PlaySoundRequest(request);
}
