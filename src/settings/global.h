#pragma once
// The one settings-and-resources record every screen reads and writes directly.
#include <allegro.h>

#include <cstddef>

const size_t SETTINGS_SIZE = 61;
extern const char* const SETTINGS_FILE;  // "settings"

class globals {
public:
    BITMAP* menuBackground = nullptr;
    char screenMode = 0;
    bool vsync = false;
    BITMAP* buffer = nullptr;
    FONT* menuFont = nullptr;
    FONT* textFont = nullptr;
    FONT* warningFont = nullptr;
    DATAFILE* data = nullptr;
    int keyTurnLeft = 0;
    int keyTurnRight = 0;
    int keyForward = 0;
    int keyBackward = 0;
    int keyUse = 0;
    int keyShoot = 0;
    int keyNextWeapon = 0;
    int keyPrevWeapon = 0;
    int keyMission = 0;
    int keyMessages = 0;
    int keyStrafeLeft = 0;
    int keyStrafeRight = 0;
    signed char maxFrameSkip = 0;
    bool invulnerable = false;
    int colorDepth = 0;
    bool firstStart = false;
    unsigned char sfxVolume = 0;
    unsigned char musicVolume = 0;
    int screenshotCount = 0;
    BITMAP* crosshair = nullptr;
    float speedFactor = 0.0f;

    void init();
    bool load();
    void save();
    void create();
    void unload();
    void toggleMode();

    // The saved fields as the 61-byte file image, and back. decode takes as many bytes as
    // there are (a short file keeps the current values of the fields it lacks) and then
    // repairs values only a damaged file can hold.
    void encode(unsigned char out[SETTINGS_SIZE]) const;
    void decode(const unsigned char* bytes, size_t size, int desktopDepth);
    void setDefaults(int desktopDepth);
    void repair(int desktopDepth);
};

extern globals global;

// The depth the first start picks: the desktop's, or 16 when the library reports none.
int defaultColorDepth();
