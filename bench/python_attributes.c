// SPDX-License-Identifier: MIT
/* The C side of the Python-against-C measurement: 1,000 small attributes documents
 * parsed through the C binding and every value read (each value text fetched and freed,
 * every handle closed), best of several rounds. Then runs the Python side with the
 * result; that side prints both and the ratio. Benchmark options given are ignored. */
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <mox/mox_c.h>

enum { DOCUMENTS = 1000, ROUNDS = 7 };

static char documents[DOCUMENTS][400];

static double seconds_now(void)
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* Parses every document and reads every value; returns the number of values read. */
static long read_all(void)
{
    long values = 0;
    int i;
    for (i = 0; i < DOCUMENTS; ++i) {
        mox_handle list = 0;
        size_t count = 0, a;
        if (mox_attributes_parse(documents[i], &list) != MOX_OK || mox_attributes_count(list, &count) != MOX_OK)
            exit(1);
        for (a = 0; a < count; ++a) {
            mox_handle attribute = 0;
            size_t n = 0, v;
            if (mox_attributes_get(list, a, &attribute) != MOX_OK || mox_attribute_value_count(attribute, &n) != MOX_OK)
                exit(1);
            for (v = 0; v < n; ++v) {
                char* text = NULL;
                if (mox_attribute_value(attribute, v, &text) != MOX_OK)
                    exit(1);
                mox_free(text);
                ++values;
            }
            mox_close_handle(attribute);
        }
        mox_close_handle(list);
    }
    return values;
}

int main(void)
{
    double best = 1e9;
    long values = 0;
    int i;
    char command[1024];
    for (i = 0; i < DOCUMENTS; ++i)
        snprintf(documents[i], sizeof documents[i],
                 "<attributes><attribute name=\"color\" type=\"String\"><value>red%d</value><value>blue</value>"
                 "</attribute><attribute name=\"size\" type=\"Integer\"><value>%d</value></attribute>"
                 "<attribute name=\"tag\" scope=\"shop\"><value>t%d</value></attribute></attributes>",
                 i, i, i);
    for (i = 0; i < ROUNDS; ++i) {
        const double start = seconds_now();
        values = read_all();
        if (seconds_now() - start < best)
            best = seconds_now() - start;
    }
    printf("C binding from C: %d documents, %ld values: %.2f ms\n", DOCUMENTS, values, best * 1e3);
    fflush(stdout);
    snprintf(command, sizeof command, "PYTHONPATH='%s' '%s' '%s' %.9f", MOX_BENCH_PYTHONPATH, MOX_BENCH_PYTHON,
             MOX_BENCH_SCRIPT, best);
    return system(command) == 0 ? 0 : 1;
}
