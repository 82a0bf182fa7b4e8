// expected_board: works out, natively, what a stylus session of the Today
// stand-in leaves in the board file and on the screen, for a fresh item on
// the small screen (240 x 320 at 96 dpi).
//
//   expected_board SESSION BOARD.rgb [SCREEN.rgb ITEM_TOP FIRST_ROW LAST_ROW]
//
// The session's stylus points are the item window's own pixels.
// BOARD.rgb receives the 640 x 640 Board as an image reader sees it: rows
// from the top, 3 bytes red, green, blue per pixel (what
// `convert inkleaf_board.bmp -depth 8 rgb:-` prints). SCREEN.rgb receives
// screen rows FIRST_ROW..LAST_ROW, full width, as the Today stand-in should
// show them with the item window at screen y ITEM_TOP (the height of the
// shell's bar above it): the Board over the stand-in's watermark, its grey
// left out. Choose rows below the page text and the toolbar; the tool knows
// neither.
//
// The session is followed the way the item would take it: corner popup,
// toolbar buttons and their popups, pen, eraser and stamp. The tool state,
// colours and widths start at the values a freshly loaded item has. The
// drawing itself uses the item's Win32-free pixel code (dots, stroke runs,
// stamp patterns) and its layout (where the toolbar's cells and the Board
// are, what a tap finds); everything around it (the tools' state, the
// popups' labels and their colours) is written out here again from the
// design rules, so a mistake there in the item shows up as a difference. Whatever the tool does not model (strokes leaving the drawing
// area, clearing, the show/hide toggles, a popup without a choice) stops it
// with an error rather than guessing.

#include "item/board_pixels.h"
#include "item/item_layout.h"
#include "item/stamp_shapes.h"
#include "item/stroke_replay.h"
#include "tests/common/colour_labels.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The small screen as the Today stand-in shows it.
const int kScreenWidth = 240;
const int kScreenHeight = 320;
const int kItemHeight = 200;  // a fresh item's height at 96 dpi

// The Board a fresh item creates.
const int kBoardSize = 640;
const PixelRGB kBoardGrey = {224, 224, 224};
const int kStrokeCapacity = 1498;

// The Today stand-in's watermark: diagonal bands 16 pixels wide.
const PixelRGB kBandA = {226, 236, 250};
const PixelRGB kBandB = {250, 242, 220};

struct NamedShape {
    const char *name;
    int number;
};

const NamedShape kShapes[] = {
    {"Star - S", SHAPE_STAR_S},
    {"Star - L", SHAPE_STAR_L},
    {"Heart - S", SHAPE_HEART_S},
    {"Heart - L", SHAPE_HEART_L},
    {"Circle (unfilled) - S", SHAPE_CIRCLE_OUTLINE_S},
    {"Circle (unfilled) - L", SHAPE_CIRCLE_OUTLINE_L},
    {"Circle (filled) - S", SHAPE_CIRCLE_FILLED_S},
    {"Circle (filled) - L", SHAPE_CIRCLE_FILLED_L},
    {"Square (unfilled) - S", SHAPE_SQUARE_OUTLINE_S},
    {"Square (unfilled) - L", SHAPE_SQUARE_OUTLINE_L},
    {"Square (filled) - S", SHAPE_SQUARE_FILLED_S},
    {"Square (filled) - L", SHAPE_SQUARE_FILLED_L},
};

enum Tool { PEN = 1, ERASER = 2, STAMP = 3 };

enum Popup { NO_POPUP, CORNER, PEN_COLOR, PEN_WIDTH, ERASER_COLOR, ERASER_WIDTH, STAMP_COLOR, SHAPE };

struct Model {
    std::vector<unsigned char> pixels;  // bottom-up, blue green red
    BoardPixels board;

    bool editMode = false;
    int tool = PEN;
    int penWidth = 2;
    int eraserWidth = 5;
    PixelRGB penColor = {0, 255, 0};
    PixelRGB eraserColor = kBoardGrey;
    PixelRGB stampColor = {255, 255, 0};
    int shape = 1;

    bool strokeActive = false;
    std::vector<int> strokeX, strokeY;
    Popup popup = NO_POPUP;  // opened by the latest stylus line

    int strokes = 0, stamps = 0, dots = 0;
};

std::string g_where;

[[noreturn]] void Fail(const std::string &what)
{
    fprintf(stderr, "expected_board: %s: %s\n", g_where.c_str(), what.c_str());
    exit(1);
}

// The item's layout in graphics edit mode on this screen.
const ItemLayout &EditLayout()
{
    static ItemLayout layout;
    static bool made = false;
    if (!made) {
        ItemLayoutInput input = {kScreenWidth, kScreenWidth, kItemHeight, 1, kBoardSize, kBoardSize};
        LayOutItem(input, &layout);
        made = true;
    }
    return layout;
}

// The item row where the Board's top row is shown.
int BoardTop()
{
    return EditLayout().board.top;
}

int ActiveWidth(const Model &m)
{
    return m.tool == ERASER ? m.eraserWidth : m.penWidth;
}

// Item point (x, y) may receive a dot of the active tool.
bool InBoardArea(const Model &m, int x, int y)
{
    return InsideBoardMargin(BoardTop(), kBoardSize, kBoardSize, ActiveWidth(m), x, y);
}

bool InStampArea(int x, int y)
{
    return InsideBoardMargin(BoardTop(), kBoardSize, kBoardSize, STAMP_MARGIN, x, y);
}

void DotSink(int x, int y, void *context)
{
    Model &m = *(Model *)context;
    bool eraser = m.tool == ERASER;
    BoardWriteDot(m.board, x, y - BoardTop(), eraser ? m.eraserWidth : m.penWidth, eraser,
                  eraser ? m.eraserColor : m.penColor);
    m.dots++;
}

void PenDown(Model &m, int x, int y)
{
    if (y >= kItemHeight)
        Fail("pen-down below the item");
    if (ItemCellAt(EditLayout(), x, y) == CELL_CORNER) {
        m.popup = CORNER;
        return;
    }
    if (m.strokeActive)
        Fail("pen-down during a stroke");
    if (!m.editMode || !InBoardArea(m, x, y))
        return;  // the toolbar, or nothing
    if (m.tool == STAMP) {
        if (!InStampArea(x, y))
            Fail("stamp outside the stamp area");
        BoardStampShape(m.board, x, y - BoardTop(), m.shape, m.stampColor);
        m.stamps++;
        return;
    }
    m.strokeActive = true;
    m.strokeX.assign(1, x);
    m.strokeY.assign(1, y);
}

void PenMove(Model &m, int x, int y)
{
    if (!m.strokeActive)
        return;
    if (y >= kItemHeight || !InBoardArea(m, x, y))
        Fail("the stroke leaves the drawing area (cancelled strokes are not modelled)");
    if ((int)m.strokeX.size() >= kStrokeCapacity)
        Fail("more points than one stroke holds");
    m.strokeX.push_back(x);
    m.strokeY.push_back(y);
}

// What a tap on each tool's cells does: the tool it takes, the popup it opens.
const struct {
    ItemCell cell;
    Tool tool;
    Popup popup;
} kToolCells[] = {
    {CELL_PEN, PEN, NO_POPUP},       {CELL_PEN_COLOR, PEN, PEN_COLOR},       {CELL_PEN_WIDTH, PEN, PEN_WIDTH},
    {CELL_ERASER, ERASER, NO_POPUP}, {CELL_ERASER_COLOR, ERASER, ERASER_COLOR}, {CELL_ERASER_WIDTH, ERASER, ERASER_WIDTH},
    {CELL_STAMP, STAMP, NO_POPUP},   {CELL_STAMP_COLOR, STAMP, STAMP_COLOR}, {CELL_SHAPE, STAMP, SHAPE},
};

void ToolbarTap(Model &m, int x, int y)
{
    ItemCell cell = ItemCellAt(EditLayout(), x, y);
    for (const auto &tool : kToolCells)
        if (tool.cell == cell) {
            m.tool = tool.tool;
            if (tool.popup != NO_POPUP)
                m.popup = tool.popup;
            return;
        }
    if (cell == CELL_CLEAR)
        Fail("the clear button is not modelled");
    if (cell == CELL_TEXT_TOGGLE || cell == CELL_IMAGE_TOGGLE)
        Fail("the show/hide toggles are not modelled");
    // Saving writes the file, the pixels stay; the corner or nothing does nothing.
}

void PenUp(Model &m, int x, int y)
{
    if (y >= kItemHeight)
        Fail("pen-up below the item");
    if (!m.editMode)
        return;
    if (m.strokeActive) {
        if (!InBoardArea(m, x, y))
            Fail("a stroke that ends outside the drawing area");
        ReplayStrokePoints(m.strokeX.data(), m.strokeY.data(), (int)m.strokeX.size(), DotSink, &m);
        DotSink(x, y, &m);
        m.strokeActive = false;
        m.strokes++;
        return;
    }
    ToolbarTap(m, x, y);
}

// The colour of a popup's label; NULL when no colour has that label.
const PixelRGB *ColorNamed(const std::string &name)
{
    static PixelRGB colours[17];
    for (int i = 0; i < 17; i++)
        if (name == kLabelledColours[i].label) {
            const LabelledColour &c = kLabelledColours[i];
            colours[i] = PixelRGB{c.red, c.green, c.blue};
            return &colours[i];
        }
    return nullptr;
}

int WidthNamed(const std::string &label)
{
    for (int w = 1; w <= 10; w++)
        if (label == std::to_string(w))
            return w;
    Fail("no width \"" + label + "\"");
}

void Choose(Model &m, const std::string &path)
{
    if (path.find('>') != std::string::npos)
        Fail("submenus are not modelled");
    const PixelRGB *color = ColorNamed(path);
    switch (m.popup) {
    case NO_POPUP:
        Fail("a menu line without a popup");
    case CORNER:
        if (path == "To Graphics Edit mode(&G)" && !m.editMode)
            m.editMode = true;
        else if (path == "Exit Graphics Edit mode(&Q)" && m.editMode)
            m.editMode = false;
        else
            Fail("corner entry \"" + path + "\" is not modelled");
        break;
    case PEN_COLOR:
        if (!color)
            Fail("no pen colour \"" + path + "\"");
        m.penColor = *color;
        break;
    case PEN_WIDTH:
        m.penWidth = WidthNamed(path);
        break;
    case ERASER_WIDTH:
        m.eraserWidth = WidthNamed(path);
        break;
    case ERASER_COLOR: {
        const std::string suffix = " eraser";
        if (path == "Transparent eraser") {
            m.eraserColor = kBoardGrey;
        } else if (path.size() > suffix.size() &&
                   path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0 &&
                   ColorNamed(path.substr(0, path.size() - suffix.size()))) {
            m.eraserColor = *ColorNamed(path.substr(0, path.size() - suffix.size()));
        } else {
            Fail("no eraser \"" + path + "\"");
        }
        m.tool = ERASER;
        break;
    }
    case STAMP_COLOR:
        if (!color)
            Fail("no stamp colour \"" + path + "\"");
        m.stampColor = *color;
        m.tool = STAMP;
        break;
    case SHAPE: {
        bool found = false;
        for (const NamedShape &s : kShapes)
            if (path == s.name) {
                m.shape = s.number;
                found = true;
            }
        if (!found)
            Fail("no shape \"" + path + "\"");
        break;
    }
    }
    m.popup = NO_POPUP;
}

std::string Trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r");
    size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

void PlaySession(Model &m, const char *path)
{
    std::ifstream in(path);
    if (!in)
        Fail(std::string("cannot read ") + path);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        lineNo++;
        g_where = std::string(path) + ":" + std::to_string(lineNo);
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        size_t sp = line.find_first_of(" \t");
        std::string cmd = line.substr(0, sp);
        std::string rest = sp == std::string::npos ? std::string() : Trim(line.substr(sp));
        if (cmd == "menu") {
            Choose(m, rest);
            continue;
        }
        if (m.popup != NO_POPUP)
            Fail("a popup opened that the next line does not choose from");
        if (cmd == "wait" || cmd == "shot")
            continue;
        if (cmd != "down" && cmd != "move" && cmd != "up" && cmd != "tap")
            Fail("command \"" + cmd + "\" is not modelled");
        int x, y;
        char extra;
        if (sscanf(rest.c_str(), "%d %d %c", &x, &y, &extra) != 2)
            Fail("expected \"" + cmd + " X Y\"");
        if (x < 0 || y < 0)
            Fail("a point left of or above the item");
        if (cmd == "down" || cmd == "tap")
            PenDown(m, x, y);
        if (cmd == "move")
            PenMove(m, x, y);
        if (cmd == "up" || cmd == "tap")
            PenUp(m, x, y);
    }
    g_where = path;
    if (m.popup != NO_POPUP)
        Fail("the session ends with an open popup");
    if (m.strokeActive)
        Fail("the session ends inside a stroke");
}

// Board pixel at column x of image line `line` (counted from the top).
PixelRGB BoardPixelAt(const Model &m, int x, int line)
{
    const unsigned char *p = m.board.bits + BoardPixelOffset(m.board, x, kBoardSize - 1 - line);
    return {p[2], p[1], p[0]};
}

bool Same(PixelRGB a, PixelRGB b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// What the screen shows at (x, y) with the item window's top at screen y
// itemTop: the Board where it is drawn and not grey, the watermark
// everywhere else.
PixelRGB ScreenPixelAt(const Model &m, int itemTop, int x, int y)
{
    int boardTop = itemTop + BoardTop();
    if (y >= boardTop && y < itemTop + kItemHeight && y - boardTop < kBoardSize && x < kBoardSize) {
        PixelRGB p = BoardPixelAt(m, x, y - boardTop);
        if (!Same(p, kBoardGrey))
            return p;
    }
    return ((x + y) / 16) % 2 == 0 ? kBandA : kBandB;
}

void WriteFile(const char *path, const std::vector<unsigned char> &bytes)
{
    FILE *f = fopen(path, "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
        g_where = path;
        Fail("cannot write the file");
    }
}

void PutRGB(std::vector<unsigned char> &out, PixelRGB p)
{
    out.push_back((unsigned char)p.red);
    out.push_back((unsigned char)p.green);
    out.push_back((unsigned char)p.blue);
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 3 && argc != 7) {
        fprintf(stderr, "usage: expected_board SESSION BOARD.rgb [SCREEN.rgb ITEM_TOP FIRST_ROW LAST_ROW]\n");
        return 2;
    }
    Model m;
    m.pixels.resize((size_t)kBoardSize * kBoardSize * 3);
    m.board = {kBoardSize, kBoardSize, m.pixels.data()};
    BoardFill(m.board, kBoardGrey);

    PlaySession(m, argv[1]);

    std::vector<unsigned char> out;
    out.reserve(m.pixels.size());
    for (int line = 0; line < kBoardSize; line++)
        for (int x = 0; x < kBoardSize; x++)
            PutRGB(out, BoardPixelAt(m, x, line));
    WriteFile(argv[2], out);

    if (argc == 7) {
        int itemTop = atoi(argv[4]), first = atoi(argv[5]), last = atoi(argv[6]);
        if (itemTop < 0 || itemTop >= kScreenHeight) {
            fprintf(stderr, "expected_board: the item's top %d is not on the screen\n", itemTop);
            return 2;
        }
        if (first < 0 || last < first || last >= kScreenHeight) {
            fprintf(stderr, "expected_board: screen rows %d..%d are not on the screen\n", first, last);
            return 2;
        }
        out.clear();
        for (int y = first; y <= last; y++)
            for (int x = 0; x < kScreenWidth; x++)
                PutRGB(out, ScreenPixelAt(m, itemTop, x, y));
        WriteFile(argv[3], out);
    }
    printf("expected_board: %d strokes (%d dots), %d stamps\n", m.strokes, m.dots, m.stamps);
    return 0;
}
