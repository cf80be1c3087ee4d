#pragma once

// The last acknowledged video and audio source of one router output, as
// physical input numbers (-1: none recorded). Never read back from a router.
class clsRouteState
{
public:
    // The audio source differs from the video source, or no video source is
    // known. Recomputed by both setters.
    bool isSplit = false;
    // Copy of the owning router's canSplit when the state was created.
    bool canSplit = false;

    [[nodiscard]] int Video() const { return m_video; }
    void setVideo(int v);
    // The audio source while split; otherwise audio follows video.
    [[nodiscard]] int Audio() const { return isSplit ? m_audio : m_video; }
    void setAudio(int a);

private:
    void recomputeSplit();

    int m_video = -1;
    int m_audio = -1;
};
