#ifndef FSOUND_H
#define FSOUND_H

/*
 * fsound: the game's small sound library. It decodes MP3 samples and XM
 * music modules, mixes them on a fixed number of channels and plays them on
 * the system's sound output; SDL2_mixer decodes the samples and mixes, and
 * libxmp plays the modules, on SDL's own audio thread. Every call must come
 * from one thread. The mix passes a soft limiter on its way out, so that no
 * sum of sounds reaches full scale.
 *
 * The output is SDL's choice, which SDL_AUDIODRIVER can name; on a machine
 * without a sound card, unless it names one, only the sound servers are
 * tried. When no sound output can be opened the library opens a silent one
 * that still keeps time, so samples start, run for their length and end as
 * they would on a machine with sound.
 *
 * Failing calls record an error code that FSOUND_GetError reports:
 *   1 already started, 2 not started, 3 no output could be opened,
 *   5 a play failed, 9 file not found, 10 not a file format the call reads,
 *   11 a file of the right kind that could not be decoded, 12 out of memory,
 *   14 a bad argument, 16 every channel is busy.
 */

#ifdef __cplusplus
extern "C" {
#else
#include <stdbool.h>
#endif

/* Channel argument of FSOUND_PlaySound: any channel that is free. */
#define FSOUND_FREE (-1)
/* Index argument of FSOUND_Sample_Load: the caller owns the sample. */
#define FSOUND_UNMANAGED (-2)

/* Sample mode bits. */
#define FSOUND_LOOP_OFF 0x0001
#define FSOUND_LOOP_NORMAL 0x0002
#define FSOUND_NORMAL 0x0130
#define FSOUND_2D 0x2000

/* Opaque handles; the library allocates them and the free calls release them. */
typedef struct FSoundSample FSoundSample;
typedef struct FMusicModule FMusicModule;

/* The library's version, 3.74. */
float FSOUND_GetVersion(void);

/* Opens the sound output at mixRate Hz with maxChannels (1 to 1024) sample
 * channels; flags must be 0. False when not even a silent output opens, or
 * when the library is already started (close it first). */
bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);

/* The code of the last failure (see above); 0 when nothing has failed yet. */
int FSOUND_GetError(void);

/* Stops everything and closes the output. Samples and modules still held
 * become silent husks: freeing them afterwards is safe, playing them fails.
 * Harmless when the library is not started. */
void FSOUND_Close(void);

/* Loads an XM module from a file; null on failure. Free with FMUSIC_FreeSong. */
FMusicModule* FMUSIC_LoadSong(const char* name);
/* Starts the module from its beginning; at its end it goes on at its
 * restart position, until stopped. Only one module sounds at a time, so
 * another one playing is stopped. Fails at mixing rates above 49170 Hz. */
bool FMUSIC_PlaySong(FMusicModule* module);
/* Stops the module if it is the one playing. */
bool FMUSIC_StopSong(FMusicModule* module);
/* Stops and releases the module; works before FSOUND_Init and after FSOUND_Close. */
bool FMUSIC_FreeSong(FMusicModule* module);

/* Loads an MP3 file as a sample the caller owns: index must be
 * FSOUND_UNMANAGED, offset and length 0 (the whole file). The mode's
 * FSOUND_LOOP_NORMAL bit makes the sample loop, FSOUND_LOOP_OFF (or neither)
 * plays it once. Null on failure. Free with FSOUND_Sample_Free. */
FSoundSample* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                 int length);
/* Changes the loop mode of later plays: FSOUND_LOOP_NORMAL or FSOUND_LOOP_OFF. */
bool FSOUND_Sample_SetMode(FSoundSample* sample, unsigned int mode);
/* Stops every playback of the sample and releases it; works after FSOUND_Close. */
void FSOUND_Sample_Free(FSoundSample* sample);

/* Starts the sample on a free channel (channel must be FSOUND_FREE). Returns
 * a handle that names this one playback, or -1 on failure. */
int FSOUND_PlaySound(int channel, FSoundSample* sample);
/* Whether the playback the handle names still runs. A handle whose channel
 * has since been given to another playback answers false. */
bool FSOUND_IsPlaying(int channel);
/* Stops the playback the handle names, and no other; false if it had ended. */
bool FSOUND_StopSound(int channel);

#ifdef __cplusplus
}
#endif

#endif
