#ifndef MOX_TESTS_CHECKC_H
#define MOX_TESTS_CHECKC_H
/* A minimal check harness for the plain C tests of the C binding. */
#include <stdio.h>
#include <string.h>

#include <mox/mox_c.h>

static int check_failures = 0;

#define CHECK(cond)                                                                  \
    do {                                                                             \
        if (!(cond)) {                                                               \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++check_failures;                                                        \
        }                                                                            \
    } while (0)

#define CHECK_INT(actual, expected)                                                              \
    do {                                                                                         \
        long long a_ = (long long)(actual), e_ = (long long)(expected);                          \
        if (a_ != e_) {                                                                          \
            fprintf(stderr, "%s:%d: %s is %lld, expected %lld\n", __FILE__, __LINE__, #actual, a_, \
                    e_);                                                                         \
            ++check_failures;                                                                    \
        }                                                                                        \
    } while (0)

#define CHECK_STR(actual, expected)                                                               \
    do {                                                                                          \
        const char* a_ = (actual);                                                                \
        const char* e_ = (expected);                                                              \
        if (a_ == NULL || strcmp(a_, e_) != 0) {                                                  \
            fprintf(stderr, "%s:%d: %s is \"%s\", expected \"%s\"\n", __FILE__, __LINE__, #actual, \
                    a_ ? a_ : "(null)", e_);                                                      \
            ++check_failures;                                                                     \
        }                                                                                         \
    } while (0)

/* Checks that `rc` is the failure `code`, recorded for this thread as an exception of
 * class `name` whose text contains `message_part`. */
static void check_failure_at(const char* file, int line, int rc, int code, const char* name,
                             const char* message_part)
{
    char* message = NULL;
    char* recorded_name = NULL;
    int recorded;
    if (rc != code) {
        fprintf(stderr, "%s:%d: result %d, expected %d\n", file, line, rc, code);
        ++check_failures;
    }
    recorded = mox_get_error(&message);
    if (recorded != code) {
        fprintf(stderr, "%s:%d: recorded code %d, expected %d\n", file, line, recorded, code);
        ++check_failures;
    }
    if (message == NULL || strstr(message, message_part) == NULL) {
        fprintf(stderr, "%s:%d: recorded message \"%s\" lacks \"%s\"\n", file, line, message ? message : "(null)",
                message_part);
        ++check_failures;
    }
    if (mox_last_error_name(&recorded_name) != MOX_OK || recorded_name == NULL || strcmp(recorded_name, name) != 0) {
        fprintf(stderr, "%s:%d: recorded class \"%s\", expected \"%s\"\n", file, line,
                recorded_name ? recorded_name : "(null)", name);
        ++check_failures;
    }
    mox_free(message);
    mox_free(recorded_name);
}

#define CHECK_FAILURE(rc, code, name, message_part) check_failure_at(__FILE__, __LINE__, (rc), (code), (name), (message_part))

/* The messages of the platform's codes used below. */
#define MSG_NULL "A NULL pointer was encountered during the operation"
#define MSG_CAST "Cast conversion failed"
#define MSG_ARGS "The arguments specified in the operation were invalid"
#define MSG_HANDLE "Invalid Handle"

/* Runs the group of `groups` named by the one argument; groups expect a fresh process. */
typedef struct {
    const char* name;
    void (*run)(void);
} check_group;

static int run_groups(const check_group* groups, size_t count, int argc, char** argv)
{
    size_t i;
    int ran = 0;
    if (argc != 2) {
        fprintf(stderr, "usage: %s GROUP\n", argv[0]);
        return 2;
    }
    for (i = 0; i < count; ++i) {
        if (strcmp(argv[1], groups[i].name) != 0)
            continue;
        groups[i].run();
        ++ran;
    }
    if (ran == 0) {
        fprintf(stderr, "no group named %s\n", argv[1]);
        return 2;
    }
    if (check_failures != 0)
        fprintf(stderr, "%d check(s) failed\n", check_failures);
    return check_failures == 0 ? 0 : 1;
}

#endif
