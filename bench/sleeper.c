/* A bare 1 ms sleeper: how late the platform's shortest wait ends, measured
   beside the demo so that its pacing can be judged against what the machine
   and its load allow at that moment. It waits 1 ms a number of times and
   prints how much longer than 1 ms each wait took (nearest-rank
   percentiles, as bench/pacing_stats.cpp takes them) as one line of JSON.
   Natively the wait is clock_nanosleep; built for Windows it is the wait
   the demo's frame loop makes, MsgWaitForMultipleObjectsEx on an empty
   queue, with the 1 ms timer period the demo asks for.

   Usage: sleeper [COUNT]   (default 2000) */
#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <mmsystem.h>
#else
#include <time.h>
#endif

#include <stdio.h>
#include <stdlib.h>

#ifdef _WIN32
static double NowMs(void) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

static void SleepOneMillisecond(void) {
    MsgWaitForMultipleObjectsEx(0, NULL, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
#else
static double NowMs(void) {
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (double)now.tv_sec * 1000.0 + (double)now.tv_nsec / 1e6;
}

static void SleepOneMillisecond(void) {
    const struct timespec oneMs = {0, 1000000};
    clock_nanosleep(CLOCK_MONOTONIC, 0, &oneMs, NULL);
}
#endif

static int Ascending(const void *a, const void *b) {
    const double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

static double Percentile(const double *sorted, int count, double p) {
    int rank = (int)(p / 100.0 * count + 0.999999);
    if (rank < 1)
        rank = 1;
    return sorted[rank - 1];
}

int main(int argc, char **argv) {
    const int count = argc > 1 ? atoi(argv[1]) : 2000;
    double *late = malloc(sizeof(double) * (count > 0 ? count : 1));
    double sum = 0;
    int i;
    if (count < 1 || late == NULL) {
        fprintf(stderr, "usage: sleeper [COUNT]\n");
        return 2;
    }
#ifdef _WIN32
    timeBeginPeriod(1);
#endif
    for (i = 0; i < count; ++i) {
        const double before = NowMs();
        SleepOneMillisecond();
        late[i] = NowMs() - before - 1.0;
        sum += late[i];
    }
#ifdef _WIN32
    timeEndPeriod(1);
#endif
    qsort(late, count, sizeof(double), Ascending);
    printf("{\"sleeps\": %d, \"mean_late_ms\": %.4f, \"p50_late_ms\": %.4f, \"p99_late_ms\": %.4f, "
           "\"max_late_ms\": %.4f}\n",
           count, sum / count, Percentile(late, count, 50), Percentile(late, count, 99),
           late[count - 1]);
    free(late);
    return 0;
}
