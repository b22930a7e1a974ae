/* libtamsin: a UTF-8 text file set as fax pages (1728 x 2444 dots at 204 x 196 dpi,
 * CCITT G4, one TIFF page per fax page) in a Song-style CJK font. */
#ifndef VESTREL_TAMSIN_H
#define VESTREL_TAMSIN_H

#ifdef __cplusplus
extern "C" {
#endif

/* Renders `textFile` into `tiffFile` (replaced as a whole). `reserved` is 0.
 * Returns 1 on success, 0 otherwise (an existing `tiffFile` is then left as it was). */
int Text2Tif(const char* textFile, const char* tiffFile, int reserved);

/* Ordinal 1 is Text2Tif; NULL for any other number. */
void* tamsin_proc_by_ordinal(int ordinal);

#ifdef __cplusplus
}
#endif

#endif /* VESTREL_TAMSIN_H */
