/* A Weston module for tests: Weston's headless back end has no input devices,
 * so this gives it a seat with a pointer and a keyboard that a test drives by
 * writing lines to a FIFO named by the environment variable
 * VOREL_WESTON_INPUT:
 *   move X Y    the pointer to X,Y in the compositor's coordinates
 *   down / up   the left button
 *   key CODE    presses and releases the key of that evdev code
 * The input reaches clients through the compositor like a real mouse's. */
#include <libweston/libweston.h>

#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

/* Exported by libweston for its back ends but not declared in its public
 * headers. */
void weston_seat_init(struct weston_seat *seat, struct weston_compositor *compositor, const char *name);
int weston_seat_init_pointer(struct weston_seat *seat);
int weston_seat_init_keyboard(struct weston_seat *seat, struct xkb_keymap *keymap);
void notify_motion_absolute(struct weston_seat *seat, const struct timespec *time, double x, double y);
void notify_button(struct weston_seat *seat, const struct timespec *time, int32_t button,
                   enum wl_pointer_button_state state);
void notify_pointer_frame(struct weston_seat *seat);
void notify_key(struct weston_seat *seat, const struct timespec *time, uint32_t key,
                enum wl_keyboard_key_state state, enum weston_key_state_update update_state);

struct test_input {
	struct weston_seat seat;
	char line[256];
	size_t used;
};

static void run_command(struct test_input *input, const char *command)
{
	struct timespec now;
	double x, y;
	unsigned int key;

	weston_compositor_get_time(&now);
	if (sscanf(command, "key %u", &key) == 1) {
		notify_key(&input->seat, &now, key, WL_KEYBOARD_KEY_STATE_PRESSED, STATE_UPDATE_AUTOMATIC);
		notify_key(&input->seat, &now, key, WL_KEYBOARD_KEY_STATE_RELEASED, STATE_UPDATE_AUTOMATIC);
		return;
	}
	if (sscanf(command, "move %lf %lf", &x, &y) == 2)
		notify_motion_absolute(&input->seat, &now, x, y);
	else if (strcmp(command, "down") == 0)
		notify_button(&input->seat, &now, BTN_LEFT, WL_POINTER_BUTTON_STATE_PRESSED);
	else if (strcmp(command, "up") == 0)
		notify_button(&input->seat, &now, BTN_LEFT, WL_POINTER_BUTTON_STATE_RELEASED);
	else {
		weston_log("test input: unknown command \"%s\"\n", command);
		return;
	}
	notify_pointer_frame(&input->seat);
}

static int on_readable(int fd, uint32_t mask, void *data)
{
	struct test_input *input = data;
	char *end;
	ssize_t count;

	(void)mask;
	count = read(fd, input->line + input->used, sizeof input->line - 1 - input->used);
	if (count <= 0)
		return 0;
	input->used += (size_t)count;
	while ((end = memchr(input->line, '\n', input->used)) != NULL) {
		size_t rest = input->used - (size_t)(end + 1 - input->line);
		*end = '\0';
		run_command(input, input->line);
		memmove(input->line, end + 1, rest);
		input->used = rest;
	}
	if (input->used == sizeof input->line - 1)
		input->used = 0; /* a line too long to be a command */
	return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	const char *path = getenv("VOREL_WESTON_INPUT");
	struct test_input *input;
	int fd;

	(void)argc;
	(void)argv;
	if (path == NULL) {
		weston_log("test input: VOREL_WESTON_INPUT names no FIFO\n");
		return -1;
	}
	/* Opened for writing as well, so that the FIFO never reports an end
	 * when a writer closes it. */
	fd = open(path, O_RDWR | O_NONBLOCK | O_CLOEXEC);
	if (fd < 0) {
		weston_log("test input: cannot open %s\n", path);
		return -1;
	}
	input = calloc(1, sizeof *input);
	if (input == NULL) {
		close(fd);
		return -1;
	}
	weston_seat_init(&input->seat, compositor, "test-seat");
	weston_seat_init_pointer(&input->seat);
	weston_seat_init_keyboard(&input->seat, NULL);
	wl_event_loop_add_fd(wl_display_get_event_loop(compositor->wl_display), fd, WL_EVENT_READABLE,
			     on_readable, input);
	return 0;
}
