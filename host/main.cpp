// today_host.exe: a desktop stand-in for the Pocket PC Today screen, used to
// load, drive and photograph the Inkleaf Today item under Wine.
//
//   today_host.exe install DLLPATH   register the item under the Today item key
//   today_host.exe remove-key        delete that key with all its values
//   today_host.exe dump-key OUTFILE  write every value of that key as text
//   today_host.exe run [options]     be the Today screen and host the item,
//                                    under the shell's navigation bar
//
// Options of "run":
//   --seconds S        exit after S seconds (default 10 unless --script or
//                      --interactive is given alone)
//   --poll-ms N        interval of the refresh query (default 2000)
//   --text-color R,G,B theme text colour (default 0,0,128)
//   --screenshot FILE  write the screen as PNG just before exiting
//   --script FILE      play stylus, menu and screenshot commands
//   --interactive      run until the window is closed (Esc closes it)
//
// Exit codes of "run": 0 done, 1 bad command line, 2 the item library or its
// ordinal 240 could not be loaded (an ARM item where the ARM room is not
// built included), 3 the item returned no window, 4 a script line failed.
//
// The script language is described in script.cpp.
//
// Layers, each calling only the ones below: main -> today_window -> item_library | script
// -> screenshot | navigation_bar | watermark | item_key -> host_basics | text_and_paths.
#include "host_basics.h"
#include "item_key.h"
#include "text_and_paths.h"
#include "today_window.h"

#include <cstdio>
#include <cwchar>

static void Usage()
{
    fputs("usage: today_host install DLLPATH\n"
          "       today_host remove-key\n"
          "       today_host dump-key OUTFILE\n"
          "       today_host run [--seconds S] [--poll-ms N] [--text-color R,G,B]\n"
          "                      [--screenshot FILE.png] [--script FILE] [--interactive]\n"
          "                      [--answer-boxes]\n",
          stderr);
}

static bool ParseRunOptions(int argc, wchar_t **argv, TodayOptions *run)
{
    for (int i = 2; i < argc; i++) {
        std::wstring opt = argv[i];
        bool hasValue = i + 1 < argc;
        long v = 0;
        if (opt == L"--interactive") {
            run->interactive = true;
        } else if (opt == L"--seconds" && hasValue) {
            double s = wcstod(argv[++i], NULL);
            if (s < 0) return false;
            run->secondsMs = (DWORD)(s * 1000.0 + 0.5);
            run->secondsGiven = true;
        } else if (opt == L"--poll-ms" && hasValue) {
            if (!ParseInt(argv[++i], &v) || v <= 0) return false;
            run->pollMs = (DWORD)v;
        } else if (opt == L"--text-color" && hasValue) {
            int r, gr, b;
            if (swscanf(argv[++i], L"%d,%d,%d", &r, &gr, &b) != 3 ||
                r < 0 || r > 255 || gr < 0 || gr > 255 || b < 0 || b > 255)
                return false;
            run->textColor = RGB(r, gr, b);
        } else if (opt == L"--screenshot" && hasValue) {
            run->screenshotPath = ResolvePath(argv[++i]);
        } else if (opt == L"--script" && hasValue) {
            run->scriptPath = ResolvePath(argv[++i]);
        } else if (opt == L"--answer-boxes") {
            run->answerBoxes = true;
        } else if (opt == L"--shot-every" && hasValue) {
            ++i;                            // accepted, not used
        } else {
            ErrorOut(L"unknown or incomplete option %ls", opt.c_str());
            return false;
        }
    }
    return true;
}

int wmain(int argc, wchar_t **argv)
{
    RememberStartDirectory();

    if (argc == 3 && wcscmp(argv[1], L"install") == 0)
        return InstallItem(argv[2]);
    if (argc == 2 && wcscmp(argv[1], L"remove-key") == 0)
        return RemoveItemKey();
    if (argc == 3 && wcscmp(argv[1], L"dump-key") == 0)
        return DumpKey(ResolvePath(argv[2]));
    if (argc >= 2 && wcscmp(argv[1], L"run") == 0)
    {
        TodayOptions run;
        if (!ParseRunOptions(argc, argv, &run)) {
            Usage();
            return EXIT_USAGE;
        }
        return RunToday(run);
    }
    Usage();
    return EXIT_USAGE;
}
