/* screen_sizes: gives a headless X screen (Xvfb) the sizes a device's
 * screen takes, and holds them while the screen lives.
 *
 *   screen_sizes WxH [WxH...]
 *
 * Xvfb offers one mode, its framebuffer's size, so wine's display settings
 * can choose no other. This adds a RandR mode of each size to the screen's
 * output, sets the first one (screen and CRTC), prints "ready" and waits
 * until it is killed. The modes are this client's: the X server drops them
 * when it disconnects, so it stays connected as long as the screen is used.
 * Each size must fit the framebuffer Xvfb was started with (its largest).
 * A rotation is then wine's ChangeDisplaySettingsEx to the other size, as on
 * the device.
 *
 * libX11 and libXrandr are opened at run time (wine needs both anyway), so
 * no X development package is needed to build it. Exit status 1 when the
 * display or the libraries cannot be had, 2 for a bad size. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

typedef unsigned long XID;

/* XRRModeInfo and XRRScreenResources of <X11/extensions/Xrandr.h>. */
typedef struct {
    XID id;
    unsigned int width, height;
    unsigned long dotClock;
    unsigned int hSyncStart, hSyncEnd, hTotal, hSkew;
    unsigned int vSyncStart, vSyncEnd, vTotal;
    char *name;
    unsigned int nameLength;
    unsigned long modeFlags;
} ModeInfo;

typedef struct {
    unsigned long timestamp, configTimestamp;
    int ncrtc;
    XID *crtcs;
    int noutput;
    XID *outputs;
    int nmode;
    ModeInfo *modes;
} ScreenResources;

enum { MAX_SIZES = 4, ROTATE_0 = 1, REFRESH_HZ = 60 };

int main(int argc, char **argv)
{
    int widths[MAX_SIZES], heights[MAX_SIZES], count = argc - 1;
    if (count < 1 || count > MAX_SIZES) {
        fprintf(stderr, "usage: screen_sizes WxH [WxH...] (up to %d)\n", MAX_SIZES);
        return 2;
    }
    for (int i = 0; i < count; i++) {
        char extra;
        if (sscanf(argv[i + 1], "%dx%d%c", &widths[i], &heights[i], &extra) != 2 || widths[i] <= 0 ||
            heights[i] <= 0) {
            fprintf(stderr, "screen_sizes: bad size %s\n", argv[i + 1]);
            return 2;
        }
    }

    void *x11 = dlopen("libX11.so.6", RTLD_NOW), *randr = dlopen("libXrandr.so.2", RTLD_NOW);
    if (!x11 || !randr) {
        fprintf(stderr, "screen_sizes: %s\n", dlerror());
        return 1;
    }
    void *(*openDisplay)(const char *) = (void *(*)(const char *))dlsym(x11, "XOpenDisplay");
    XID (*rootWindow)(void *) = (XID(*)(void *))dlsym(x11, "XDefaultRootWindow");
    int (*sync)(void *, int) = (int (*)(void *, int))dlsym(x11, "XSync");
    int (*grabServer)(void *) = (int (*)(void *))dlsym(x11, "XGrabServer");
    int (*ungrabServer)(void *) = (int (*)(void *))dlsym(x11, "XUngrabServer");
    ScreenResources *(*getResources)(void *, XID) =
        (ScreenResources * (*)(void *, XID)) dlsym(randr, "XRRGetScreenResources");
    XID (*createMode)(void *, XID, ModeInfo *) = (XID(*)(void *, XID, ModeInfo *))dlsym(randr, "XRRCreateMode");
    void (*addOutputMode)(void *, XID, XID) = (void (*)(void *, XID, XID))dlsym(randr, "XRRAddOutputMode");
    int (*setCrtcConfig)(void *, ScreenResources *, XID, unsigned long, int, int, XID, unsigned short, XID *, int) =
        (int (*)(void *, ScreenResources *, XID, unsigned long, int, int, XID, unsigned short, XID *,
                 int))dlsym(randr, "XRRSetCrtcConfig");
    void (*setScreenSize)(void *, XID, int, int, int, int) =
        (void (*)(void *, XID, int, int, int, int))dlsym(randr, "XRRSetScreenSize");
    if (!openDisplay || !rootWindow || !sync || !grabServer || !ungrabServer || !getResources || !createMode ||
        !addOutputMode || !setCrtcConfig || !setScreenSize) {
        fprintf(stderr, "screen_sizes: libXrandr lacks RandR 1.2\n");
        return 1;
    }

    void *display = openDisplay(NULL);
    if (!display) {
        fprintf(stderr, "screen_sizes: cannot open the display\n");
        return 1;
    }
    XID root = rootWindow(display);
    ScreenResources *resources = getResources(display, root);
    if (!resources || resources->ncrtc < 1 || resources->noutput < 1) {
        fprintf(stderr, "screen_sizes: the screen has no CRTC or output\n");
        return 1;
    }
    XID first = 0;
    for (int i = 0; i < count; i++) {
        char name[32];
        ModeInfo mode;
        memset(&mode, 0, sizeof(mode));
        snprintf(name, sizeof(name), "%dx%d", widths[i], heights[i]);
        mode.width = (unsigned)widths[i];
        mode.height = (unsigned)heights[i];
        mode.dotClock = (unsigned long)widths[i] * (unsigned long)heights[i] * REFRESH_HZ;
        mode.hSyncStart = mode.hSyncEnd = mode.hTotal = (unsigned)widths[i];
        mode.vSyncStart = mode.vSyncEnd = mode.vTotal = (unsigned)heights[i];
        mode.name = name;
        mode.nameLength = (unsigned)strlen(name);
        XID id = createMode(display, root, &mode);
        addOutputMode(display, resources->outputs[0], id);
        if (i == 0)
            first = id;
    }
    sync(display, 0);
    /* The screen at the first size: the CRTC shows that mode, and the
     * screen shrinks to it, in one step for the other clients. */
    grabServer(display);
    int status = setCrtcConfig(display, resources, resources->crtcs[0], 0, 0, 0, first, ROTATE_0,
                               resources->outputs, 1);
    /* millimetres at 96 dpi; wine takes its dpi from the prefix */
    setScreenSize(display, root, widths[0], heights[0], widths[0] * 254 / 960, heights[0] * 254 / 960);
    ungrabServer(display);
    sync(display, 0);
    if (status != 0) {
        fprintf(stderr, "screen_sizes: the screen did not take %dx%d\n", widths[0], heights[0]);
        return 1;
    }
    printf("ready\n");
    fflush(stdout);
    for (;;)
        pause();
}
