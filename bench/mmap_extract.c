/* The floor that archive extraction is measured against: a plain program that
 * reads each archive's central directory, and decompresses every deflated or
 * stored entry with libdeflate straight into its output file, mapped at its
 * final size, in the given folder. It checks each entry's CRC-32 and nothing
 * else: no names are checked, no folders made, no questions asked.
 * Usage: mmap_extract OUTPUT_FOLDER ARCHIVE... (one subfolder per archive:
 * OUTPUT_FOLDER/0, OUTPUT_FOLDER/1, ...) */
#define _GNU_SOURCE
#include <fcntl.h>
#include <libdeflate.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

static unsigned U16(const uint8_t* p) { return p[0] | (unsigned)p[1] << 8; }
static uint32_t U32(const uint8_t* p) { return U16(p) | (uint32_t)U16(p + 2) << 16; }

static int Fail(const char* what, const char* name) {
    fprintf(stderr, "mmap_extract: %s: %s\n", name, what);
    return 1;
}

static int ExtractEntry(struct libdeflate_decompressor* d, const uint8_t* zip, size_t zipSize, const uint8_t* rec,
                        int folder) {
    const unsigned method = U16(rec + 10);
    const uint32_t crc = U32(rec + 16), packed = U32(rec + 20), size = U32(rec + 24);
    const unsigned nameLength = U16(rec + 28);
    const uint32_t local = U32(rec + 42);
    char name[512];
    if (nameLength == 0 || nameLength >= sizeof name || (size_t)local + 30 > zipSize)
        return Fail("bad entry", "?");
    memcpy(name, rec + 46, nameLength);
    name[nameLength] = 0;
    if (strchr(name, '/'))
        return 0;
    const size_t data = local + 30 + U16(zip + local + 26) + U16(zip + local + 28);
    if (data + packed > zipSize)
        return Fail("data beyond the archive", name);
    const int fd = openat(folder, name, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || (size > 0 && ftruncate(fd, size) != 0))
        return Fail("cannot create", name);
    if (size > 0) {
        uint8_t* out = mmap(NULL, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (out == MAP_FAILED)
            return Fail("cannot map", name);
        if (method == 8) {
            if (libdeflate_deflate_decompress(d, zip + data, packed, out, size, NULL) != LIBDEFLATE_SUCCESS)
                return Fail("bad data", name);
        } else if (method == 0 && packed == size) {
            memcpy(out, zip + data, size);
        } else {
            return Fail("unsupported method", name);
        }
        if (libdeflate_crc32(0, out, size) != crc)
            return Fail("bad CRC-32", name);
        munmap(out, size);
    }
    return close(fd) == 0 ? 0 : Fail("cannot close", name);
}

static int ExtractArchive(struct libdeflate_decompressor* d, const char* path, int folder) {
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < 22)
        return Fail("cannot open", path);
    const size_t size = (size_t)st.st_size;
    const uint8_t* zip = mmap(NULL, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (zip == MAP_FAILED)
        return Fail("cannot map", path);
    const uint8_t* end = NULL;
    for (size_t at = size - 22 + 1; at-- > 0 && at + 65600 >= size;)
        if (U32(zip + at) == 0x06054b50) {
            end = zip + at;
            break;
        }
    if (!end)
        return Fail("no end record", path);
    const unsigned count = U16(end + 10);
    const uint8_t* rec = zip + U32(end + 16);
    for (unsigned i = 0; i < count; ++i) {
        if (rec + 46 > end || U32(rec) != 0x02014b50)
            return Fail("bad central directory", path);
        if (ExtractEntry(d, zip, size, rec, folder) != 0)
            return 1;
        rec += 46 + U16(rec + 28) + U16(rec + 30) + U16(rec + 32);
    }
    munmap((void*)zip, size);
    close(fd);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: mmap_extract OUTPUT_FOLDER ARCHIVE...\n");
        return 2;
    }
    struct libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (int i = 2; i < argc; ++i) {
        char sub[4096];
        snprintf(sub, sizeof sub, "%s/%d", argv[1], i - 2);
        mkdir(argv[1], 0755);
        mkdir(sub, 0755);
        const int folder = open(sub, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return Fail("cannot open the folder", sub);
        if (ExtractArchive(d, argv[i], folder) != 0)
            return 1;
        close(folder);
    }
    libdeflate_free_decompressor(d);
    return 0;
}
