/* portwalk: finds the instrument maker's USB devices on this PC.
 *
 * Call GetRootHubCount first (it is the only call that scans), then GetHubPortCount for each
 * controller index below its result, then GetPortResource for each port index below that count.
 * The library keeps one process-wide list without a lock: call it from one thread at a time.
 */
#ifndef PORTWALK_H
#define PORTWALK_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Longest resource text including its terminating zero byte; the caller's buffer must hold it. */
#define PORTWALK_RESOURCE_SIZE 41

/* Scans every host controller again and answers how many were found (0 when none). */
int32_t GetRootHubCount(void);

/* Number of ports listed for a controller of the latest scan; 0 for an index out of range. */
int32_t GetHubPortCount(int32_t controllerIndex);

/* Writes "USB::0x<vendor>::0x<product>::<serial>" for a device of the maker, "-" for any other
 * port; leaves the buffer untouched when either index is out of range. */
void GetPortResource(uint32_t controllerIndex, uint32_t portIndex, char* resource);

#ifdef __cplusplus
}
#endif

#endif
