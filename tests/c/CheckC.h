#ifndef MOX_TESTS_CHECKC_H
#define MOX_TESTS_CHECKC_H
/* A minimal check harness for the plain C tests of the C binding. */
#include <stdio.h>
#include <string.h>

#include <mox/mox_c.h>

static int check_failures = 0;

static void check_at(int ok, const char* file, int line, const char* what)
{
    if (!ok) {
        fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
        ++check_failures;
    }
}
#define CHECK(cond) check_at((cond) ? 1 : 0, __FILE__, __LINE__, #cond)
#define CHECK_INT(a, e) check_at((long long)(a) == (long long)(e), __FILE__, __LINE__, #a " == " #e)
#define CHECK_STR(a, e) check_at((a) != NULL && strcmp((a), (e)) == 0, __FILE__, __LINE__, #a " is " #e)

/* Checks that `rc` is the failure `code`, recorded for this thread as an exception of
 * class `name` whose text contains `message_part`. */
static void check_failure_at(const char* file, int line, int rc, int code, const char* name, const char* message_part)
{
    char* message = NULL;
    char* recorded_name = NULL;
    char what[200];
    snprintf(what, sizeof what, "failure %d recorded as %d %s \"%s\"", rc, code, name, message_part);
    check_at(rc == code && mox_get_error(&message) == code && message != NULL && strstr(message, message_part) &&
                 mox_last_error_name(&recorded_name) == MOX_OK && strcmp(recorded_name, name) == 0,
             file, line, what);
    mox_free(message);
    mox_free(recorded_name);
}
#define CHECK_FAILURE(rc, code, name, part) check_failure_at(__FILE__, __LINE__, (rc), (code), (name), (part))

#define MSG_NULL "A NULL pointer was encountered during the operation"
#define MSG_CAST "Cast conversion failed"
#define MSG_ARGS "The arguments specified in the operation were invalid"
#define MSG_HANDLE "Invalid Handle"

/* A function that reads one text of the object behind a handle. */
typedef int (*read_fn)(mox_handle, char**);

typedef struct {
    const char* name;
    void (*run)(void);
} check_group;

/* Runs the group named by the one argument; groups expect a fresh process. */
static int run_group(const check_group* groups, size_t count, int argc, char** argv)
{
    size_t i;
    for (i = 0; argc == 2 && i < count; ++i) {
        if (strcmp(argv[1], groups[i].name) == 0) {
            groups[i].run();
            return check_failures == 0 ? 0 : 1;
        }
    }
    fprintf(stderr, "usage: %s GROUP\n", argv[0]);
    return 2;
}

#endif
