// A GTK 3 window with one entry that appends every line committed with Enter to
// a log file: GTK handles keys and compose sequences its own way, and chat
// clients built on it are common targets.
// Usage: tavren_gtk_entry_target LOGFILE TITLE
#include <gtk/gtk.h>

#include <stdio.h>

static const char* logPath;

static void onActivate(GtkEntry* entry, gpointer unused) {
    (void)unused;
    FILE* log = fopen(logPath, "a");
    if (log) {
        fprintf(log, "%s\n", gtk_entry_get_text(entry));
        fclose(log);
    }
    gtk_entry_set_text(entry, "");
}

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    if (argc < 3) return 2;
    logPath = argv[1];

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), argv[2]);
    gtk_window_set_default_size(GTK_WINDOW(window), 400, 80);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);

    GtkWidget* entry = gtk_entry_new();
    g_signal_connect(entry, "activate", G_CALLBACK(onActivate), NULL);
    gtk_container_add(GTK_CONTAINER(window), entry);
    gtk_widget_show_all(window);
    gtk_widget_grab_focus(entry);
    gtk_main();
    return 0;
}
