// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gio/gio.h>
#include <memory>

namespace huegrab::wayland {

// Owners for the GLib objects the portal calls hand out.
struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GVariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};
struct GErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};
struct GMainContextUnref {
    void operator()(GMainContext* context) const { g_main_context_unref(context); }
};
struct GSourceDestroy {
    void operator()(GSource* source) const {
        g_source_destroy(source);
        g_source_unref(source);
    }
};

using ConnectionPtr = std::unique_ptr<GDBusConnection, GObjectUnref>;
using VariantPtr = std::unique_ptr<GVariant, GVariantUnref>;
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;
using CharsPtr = std::unique_ptr<gchar, GFree>;
using MainContextPtr = std::unique_ptr<GMainContext, GMainContextUnref>;
using SourcePtr = std::unique_ptr<GSource, GSourceDestroy>;

// Makes `context` the thread's default while it lives, so that signals
// subscribed meanwhile are delivered to it and nowhere else.
class ThreadDefaultContext {
public:
    explicit ThreadDefaultContext(GMainContext* context) : context_(context) {
        g_main_context_push_thread_default(context_);
    }
    ~ThreadDefaultContext() { g_main_context_pop_thread_default(context_); }
    ThreadDefaultContext(const ThreadDefaultContext&) = delete;
    ThreadDefaultContext& operator=(const ThreadDefaultContext&) = delete;

private:
    GMainContext* context_;
};

} // namespace huegrab::wayland
