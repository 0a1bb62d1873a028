// GIO's headers come first and alone: Qt's "signals" keyword would clash.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "platform/desktop_entry_launch.h"

namespace hinagiku::platform {
namespace {

std::string errorText(GError* error) {
    std::string text = error != nullptr && error->message != nullptr ? error->message : "";
    if (error != nullptr)
        g_error_free(error);
    return text;
}

}  // namespace

LaunchResult launchDesktopEntry(const std::string& path, const std::vector<std::string>& files) {
    GKeyFile* keys = g_key_file_new();
    GError* error = nullptr;
    if (!g_key_file_load_from_file(keys, path.c_str(), G_KEY_FILE_NONE, &error)) {
        g_key_file_free(keys);
        return {false,
                "「" + path + "」はデスクトップエントリとして読めません: " + errorText(error)};
    }
    gchar* type =
        g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP, G_KEY_FILE_DESKTOP_KEY_TYPE, nullptr);
    const std::string kind = type != nullptr ? type : "";
    g_free(type);
    if (kind == G_KEY_FILE_DESKTOP_TYPE_LINK) {
        gchar* url = g_key_file_get_string(keys, G_KEY_FILE_DESKTOP_GROUP,
                                           G_KEY_FILE_DESKTOP_KEY_URL, nullptr);
        g_key_file_free(keys);
        const std::string target = url != nullptr ? url : "";
        g_free(url);
        if (target.empty())
            return {false, "「" + path + "」にはURLがありません。"};
        if (!g_app_info_launch_default_for_uri(target.c_str(), nullptr, &error))
            return {false, "「" + target + "」を開けません: " + errorText(error)};
        return {true, {}};
    }
    GDesktopAppInfo* info = g_desktop_app_info_new_from_keyfile(keys);
    g_key_file_free(keys);
    if (info == nullptr)
        return {false, "「" + path + "」は起動できるデスクトップエントリではありません。"};
    GList* list = nullptr;
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        list = g_list_prepend(list, g_file_new_for_commandline_arg(it->c_str()));
    const gboolean started = g_app_info_launch(G_APP_INFO(info), list, nullptr, &error);
    g_list_free_full(list, g_object_unref);
    g_object_unref(info);
    if (!started)
        return {false, "「" + path + "」を起動できません: " + errorText(error)};
    return {true, {}};
}

}  // namespace hinagiku::platform
