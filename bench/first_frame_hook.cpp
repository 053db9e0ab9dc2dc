// first_frame_hook: preloaded into a program (LD_PRELOAD) by bench/instructions.sh, it ends the
// process right after the first frame of one of its windows has been flushed to the X server,
// so that an instruction count (callgrind) covers exactly exec to the first painted frame.
//
// It wraps five libxcb calls and passes each on unchanged:
// - xcb_create_window: remembers the ids of the program's windows.
// - xcb_shm_put_image, xcb_put_image, xcb_copy_area: a picture drawn into one of those windows
//   (Qt's backing store puts its image into the window through MIT-SHM on a local display, or
//   through a pixmap and a copy elsewhere) marks the frame as sent.
// - xcb_flush: the first flush after that is the end of the frame. The hook waits for one round
//   trip (the server has then drawn it), optionally saves the window's pixels, and calls _exit.
//
// FIRST_FRAME_CAPTURE=file.ppm saves the window as it stood then (binary PPM, 8 bits a
// channel), for comparing first frames pixel by pixel; leave it unset when counting.
//
// The hook links nothing: the real functions are looked up in the loaded libxcb when first
// called, so a process that never loads libxcb (valgrind's launcher, say) is untouched.

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

namespace {

std::array<xcb_window_t, 64> windows {};
std::size_t windowCount = 0;
xcb_window_t paintedWindow = XCB_NONE;

// The real function, from the library already loaded that defines it. Qt loads libxcb with
// its platform plugin (dlopen, local scope), where dlsym(RTLD_NEXT) does not look.
template <class Function>
Function *real(const char *library, const char *name)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    void *symbol = handle != nullptr ? dlsym(handle, name) : nullptr;
    if (symbol == nullptr) {
        std::fprintf(stderr, "first_frame_hook: no %s in %s\n", name, library);
        _exit(3);
    }
    return reinterpret_cast<Function *>(symbol); // NOLINT: the symbol has this type
}

template <class Function>
Function *xcb(const char *name)
{
    return real<Function>("libxcb.so.1", name);
}

void notePainted(xcb_drawable_t drawable)
{
    if (paintedWindow != XCB_NONE)
        return;
    for (std::size_t i = 0; i < windowCount; ++i) {
        if (windows.at(i) == drawable)
            paintedWindow = drawable;
    }
}

// The window's pixels as a binary PPM. Depth 24 or 32 in a 32-bit ZPixmap, as Xvfb serves it.
void capture(xcb_connection_t *connection, const char *path)
{
    using GetGeometry = decltype(xcb_get_geometry);
    using GetGeometryReply = decltype(xcb_get_geometry_reply);
    using GetImage = decltype(xcb_get_image);
    using GetImageReply = decltype(xcb_get_image_reply);
    using GetImageData = decltype(xcb_get_image_data);
    using GetImageDataLength = decltype(xcb_get_image_data_length);
    xcb_get_geometry_reply_t *geometry = xcb<GetGeometryReply>("xcb_get_geometry_reply")(
        connection, xcb<GetGeometry>("xcb_get_geometry")(connection, paintedWindow), nullptr);
    if (geometry == nullptr)
        return;
    const int width = geometry->width;
    const int height = geometry->height;
    std::free(geometry); // NOLINT: libxcb hands out malloc'd replies
    xcb_get_image_reply_t *image = xcb<GetImageReply>("xcb_get_image_reply")(connection,
        xcb<GetImage>("xcb_get_image")(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, paintedWindow, 0, 0,
            static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0U),
        nullptr);
    if (image == nullptr)
        return;
    const std::uint8_t *data = xcb<GetImageData>("xcb_get_image_data")(image);
    const int length = xcb<GetImageDataLength>("xcb_get_image_data_length")(image);
    if (std::FILE *file = std::fopen(path, "wb"); file != nullptr && length >= width * height * 4) {
        std::fprintf(file, "P6\n%d %d\n255\n", width, height);
        for (int pixel = 0; pixel < width * height; ++pixel) {
            const std::uint8_t *bgrx = data + static_cast<std::ptrdiff_t>(pixel) * 4;
            const std::array<std::uint8_t, 3> rgb { bgrx[2], bgrx[1], bgrx[0] };
            std::fwrite(rgb.data(), 1, rgb.size(), file);
        }
        std::fclose(file);
    }
    std::free(image); // NOLINT: as above
}

[[noreturn]] void endAfterFrame(xcb_connection_t *connection)
{
    using GetInputFocus = decltype(xcb_get_input_focus);
    using GetInputFocusReply = decltype(xcb_get_input_focus_reply);
    std::free(xcb<GetInputFocusReply>("xcb_get_input_focus_reply")( // NOLINT: as above
        connection, xcb<GetInputFocus>("xcb_get_input_focus")(connection), nullptr));
    if (const char *path = std::getenv("FIRST_FRAME_CAPTURE"); path != nullptr && *path != 0)
        capture(connection, path);
    _exit(0);
}

} // namespace

extern "C" {

xcb_void_cookie_t xcb_create_window(xcb_connection_t *c, uint8_t depth, xcb_window_t wid,
    xcb_window_t parent, int16_t x, int16_t y, uint16_t width, uint16_t height,
    uint16_t border_width, uint16_t _class, xcb_visualid_t visual, uint32_t value_mask,
    const void *value_list)
{
    static auto *const next = xcb<decltype(xcb_create_window)>("xcb_create_window");
    if (windowCount < windows.size())
        windows.at(windowCount++) = wid;
    return next(c, depth, wid, parent, x, y, width, height, border_width, _class, visual,
        value_mask, value_list);
}

xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t *c, xcb_drawable_t drawable, xcb_gcontext_t gc,
    uint16_t total_width, uint16_t total_height, uint16_t src_x, uint16_t src_y, uint16_t src_width,
    uint16_t src_height, int16_t dst_x, int16_t dst_y, uint8_t depth, uint8_t format,
    uint8_t send_event, xcb_shm_seg_t shmseg, uint32_t offset)
{
    static auto *const next
        = real<decltype(xcb_shm_put_image)>("libxcb-shm.so.0", "xcb_shm_put_image");
    notePainted(drawable);
    return next(c, drawable, gc, total_width, total_height, src_x, src_y, src_width, src_height,
        dst_x, dst_y, depth, format, send_event, shmseg, offset);
}

xcb_void_cookie_t xcb_put_image(xcb_connection_t *c, uint8_t format, xcb_drawable_t drawable,
    xcb_gcontext_t gc, uint16_t width, uint16_t height, int16_t dst_x, int16_t dst_y,
    uint8_t left_pad, uint8_t depth, uint32_t data_len, const uint8_t *data)
{
    static auto *const next = xcb<decltype(xcb_put_image)>("xcb_put_image");
    notePainted(drawable);
    return next(
        c, format, drawable, gc, width, height, dst_x, dst_y, left_pad, depth, data_len, data);
}

xcb_void_cookie_t xcb_copy_area(xcb_connection_t *c, xcb_drawable_t src_drawable,
    xcb_drawable_t dst_drawable, xcb_gcontext_t gc, int16_t src_x, int16_t src_y, int16_t dst_x,
    int16_t dst_y, uint16_t width, uint16_t height)
{
    static auto *const next = xcb<decltype(xcb_copy_area)>("xcb_copy_area");
    notePainted(dst_drawable);
    return next(c, src_drawable, dst_drawable, gc, src_x, src_y, dst_x, dst_y, width, height);
}

int xcb_flush(xcb_connection_t *c)
{
    static auto *const next = xcb<decltype(xcb_flush)>("xcb_flush");
    const int result = next(c);
    if (paintedWindow != XCB_NONE)
        endAfterFrame(c);
    return result;
}

} // extern "C"
