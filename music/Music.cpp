// Music: the sound table and its playback on SDL2_mixer.
//
// Every sound is decoded whole into a Mix_Chunk when it is loaded. A playback runs on one of the
// mixer's 64 channels; what the player hears is the sample times the sound's start volume (the chunk
// volume, set at every start) times the playback's own volume (the channel volume, full at every start
// and changed by SetSoundVolume). So music started at half volume stays under the effects, and turning a
// playback down scales that playback only. A kind (music or effects) turned off keeps its playbacks going
// with the channel volume at 0; turned on, each gets its own volume back.

#include "music/Music.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <string>
#include <vector>

namespace Music {

// ---- types -------------------------------------------------------------------------------------------

// One loaded sound. channel is meaningful only while playing is TRUE; playing stays TRUE when a sound
// that does not repeat ends by itself.
struct SndStruct {
    Mix_Chunk *snd;        // nullptr marks an empty entry; the table owns it
    int32_t channel;       // the mixer channel of the last start, -1 when none was free
    bool playing;          // set by PlaySound, cleared by StopSound
    uint32_t startVolume;  // 0..255, what every new playback starts at
    uint32_t volume;       // 0..255, the current playback's own volume
    bool music;            // music rather than a sound effect
};

// ---- state -------------------------------------------------------------------------------------------

static const int SOUND_RATE = 32000;
static const int SOUND_CHANNELS = 64;
static const int SOUND_BUFFER_FRAMES = 1024;  // about 32 ms of latency at 32000 Hz

static bool init = false;
static std::vector<SndStruct> snd;  // handle = index + 1
static std::string dataFolder;      // where relative file names are read from; "" the working folder
static bool musicOn = true, effectsOn = true;

// ---- internal ----------------------------------------------------------------------------------------

// The game's volumes are 0..255, the mixer's 0..128; rounded to the nearest step.
static int MixerVolume(uint32_t volume) {
    if (volume > 255) volume = 255;
    return (int)((volume * (uint32_t)MIX_MAX_VOLUME + 127u) / 255u);
}

static SndStruct *ValidSound(uint32_t sound) {
    if (!init || sound == 0 || sound > snd.size()) return nullptr;
    SndStruct *entry = &snd[sound - 1];
    return entry->snd ? entry : nullptr;
}

// TRUE while the entry's own playback is still on its channel; after it has ended by itself the channel
// may carry another sound, which must not be stopped or turned down in its name.
static bool StillOnChannel(const SndStruct *entry) {
    return entry->channel >= 0 && Mix_Playing(entry->channel) && Mix_GetChunk(entry->channel) == entry->snd;
}

// The channel volume a playback of the entry has: its own, or 0 while its kind is turned off.
static int ChannelVolume(const SndStruct *entry) {
    return (entry->music ? musicOn : effectsOn) ? MixerVolume(entry->volume) : 0;
}

// Gives every playback still on its channel the volume its kind now asks for.
static void ApplyKinds() {
    if (!init) return;
    for (const SndStruct &entry : snd)
        if (entry.snd && entry.playing && StillOnChannel(&entry)) Mix_Volume(entry.channel, ChannelVolume(&entry));
}

// The lowest channel that plays nothing, or -1.
static int FreeChannel() {
    for (int ch = 0; ch < SOUND_CHANNELS; ch++) {
        if (!Mix_Playing(ch)) return ch;
    }
    return -1;
}

// Puts a loaded sample into the lowest empty entry, growing the table by one when there is none.
static uint32_t AddSound(Mix_Chunk *add) {
    for (size_t i = 0; i < snd.size(); i++) {
        if (snd[i].snd == nullptr) {
            snd[i] = SndStruct{add, -1, false, 255, 255, false};
            return (uint32_t)(i + 1);
        }
    }
    snd.push_back(SndStruct{add, -1, false, 255, 255, false});
    return (uint32_t)snd.size();
}

// ---- exported ----------------------------------------------------------------------------------------

bool InitMusic() {
    if (init) return true;
    // No message here: the caller tells the player that the game runs silent.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_MP3 | MIX_INIT_OGG);  // WAV needs no decoder; a missing one only fails its loads
    if (Mix_OpenAudio(SOUND_RATE, AUDIO_S16SYS, 2, SOUND_BUFFER_FRAMES) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(SOUND_CHANNELS);
    Mix_Volume(-1, MIX_MAX_VOLUME);
    init = true;
    return true;
}

void StopMusic() {
    if (!init) return;
    Mix_HaltChannel(-1);
    for (SndStruct &entry : snd) {
        if (entry.snd) Mix_FreeChunk(entry.snd);
    }
    snd.clear();
    snd.shrink_to_fit();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    init = false;
}

void SetDataFolder(const char *folder) { dataFolder = folder ? folder : ""; }

uint32_t LoadSound(const char *file) {
    if (!init || file == nullptr) return 0;
    std::string path = (file[0] != '/' && !dataFolder.empty()) ? dataFolder + "/" + file : file;
    Mix_Chunk *chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) return 0;
    return AddSound(chunk);
}

void PlaySound(uint32_t sound, bool repeat) {
    SndStruct *entry = ValidSound(sound);
    if (!entry) return;
    if (entry->playing) StopSound(sound);
    Mix_VolumeChunk(entry->snd, MixerVolume(entry->startVolume));
    // The channel is chosen here rather than by the mixer so that its volume is set before the first
    // sample is mixed; only this thread starts sounds, so a free channel stays free until we use it.
    entry->volume = 255;
    int channel = FreeChannel();
    if (channel >= 0) {
        Mix_Volume(channel, ChannelVolume(entry));
        channel = Mix_PlayChannel(channel, entry->snd, repeat ? -1 : 0);
    }
    entry->channel = channel;
    entry->playing = true;
}

void StopSound(uint32_t sound) {
    SndStruct *entry = ValidSound(sound);
    if (!entry || !entry->playing) return;
    if (StillOnChannel(entry)) Mix_HaltChannel(entry->channel);
    entry->playing = false;
}

void SetSoundVolume(uint32_t sound, uint32_t volume) {
    SndStruct *entry = ValidSound(sound);
    if (!entry || !entry->playing) return;
    if (!StillOnChannel(entry)) return;
    entry->volume = volume > 255 ? 255 : volume;
    Mix_Volume(entry->channel, ChannelVolume(entry));
}

void SetStartVolume(uint32_t sound, uint32_t volume) {
    SndStruct *entry = ValidSound(sound);
    if (!entry) return;
    entry->startVolume = volume > 255 ? 255 : volume;
}

bool SoundMarkedPlaying(uint32_t sound) {
    const SndStruct *entry = ValidSound(sound);
    return entry != nullptr && entry->playing;
}

void SetMusicKind(uint32_t sound, bool music) {
    SndStruct *entry = ValidSound(sound);
    if (!entry) return;
    entry->music = music;
    ApplyKinds();
}

void SetMusicOn(bool on) {
    musicOn = on;
    ApplyKinds();
}

void SetEffectsOn(bool on) {
    effectsOn = on;
    ApplyKinds();
}

bool MusicOn() { return musicOn; }

bool EffectsOn() { return effectsOn; }

}  // namespace Music
