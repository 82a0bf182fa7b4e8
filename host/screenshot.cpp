// Screenshots: a window (the Today window) read back from the screen after
// everything pending has painted, written as a PNG through WIC.
#include "screenshot.h"
#include "text_and_paths.h"

#include <wincodec.h>

static bool SavePng(const std::wstring &path, int w, int h, const BYTE *bits, UINT stride)
{
    IWICImagingFactory *factory = NULL;
    IWICStream *stream = NULL;
    IWICBitmapEncoder *encoder = NULL;
    IWICBitmapFrameEncode *frame = NULL;
    IPropertyBag2 *props = NULL;
    bool ok = false;

    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, (void **)&factory);
    if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
    if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatPng, NULL, &encoder);
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, &props);
    if (SUCCEEDED(hr)) hr = frame->Initialize(props);
    if (SUCCEEDED(hr)) hr = frame->SetSize(w, h);
    if (SUCCEEDED(hr)) {
        WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
        hr = frame->SetPixelFormat(&format);
        if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) hr = E_FAIL;
    }
    if (SUCCEEDED(hr)) hr = frame->WritePixels(h, stride, stride * h, (BYTE *)bits);
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();
    ok = SUCCEEDED(hr);

    if (props) props->Release();
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    if (stream) stream->Release();
    if (factory) factory->Release();
    if (!ok) ErrorOut(L"cannot write PNG %ls (hr 0x%08lx)", path.c_str(), (unsigned long)hr);
    return ok;
}

// Lets everything that is pending run, paints first, and gives Wine an idle
// moment to push the window contents to the X server.
static void PumpPending(const ScreenshotSource &source)
{
    for (int round = 0; round < 3; round++) {
        if (source.window && IsWindow(source.window))
            RedrawWindow(source.window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
        if (source.above && IsWindow(source.above))
            RedrawWindow(source.above, NULL, NULL, RDW_UPDATENOW);
        MSG msg;
        for (int n = 0; n < 10000 && PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE); n++) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage((int)msg.wParam);
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        GdiFlush();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
}

// Reads the window back from the screen (what was really painted, children
// included) and writes it as a PNG of the source's size.
bool TakeScreenshot(const ScreenshotSource &source, const std::wstring &path)
{
    PumpPending(source);

    int w = source.width, h = source.height;
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bmp) {
        ErrorOut(L"cannot create a %dx%d bitmap for the screenshot", w, h);
        return false;
    }
    RECT rc = { 0, 0, w, h };
    if (source.window && IsWindow(source.window)) GetWindowRect(source.window, &rc);

    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ prev = SelectObject(mem, bmp);
    PatBlt(mem, 0, 0, w, h, BLACKNESS);
    BitBlt(mem, 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    SelectObject(mem, prev);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);

    UINT stride = ((UINT)w * 3 + 3) & ~3u;
    bool ok = SavePng(path, w, h, (const BYTE *)bits, stride);
    DeleteObject(bmp);
    return ok;
}
