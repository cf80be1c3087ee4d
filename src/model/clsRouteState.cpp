#include "model/clsRouteState.h"

void clsRouteState::setVideo(int v)
{
    m_video = v;
    recomputeSplit();
}

void clsRouteState::setAudio(int a)
{
    m_audio = a;
    recomputeSplit();
}

void clsRouteState::recomputeSplit()
{
    isSplit = m_audio != m_video || m_video < 0;
}
