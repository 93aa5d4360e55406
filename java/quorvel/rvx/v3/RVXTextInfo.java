package quorvel.rvx.v3;

/**
 * Options of a text extraction, handed to the engine with every text,
 * property and stream call of {@link RVXnativeV3}. The names are at most 255 bytes
 * long; null stands for an empty name. Only the low 32 bits of the long
 * values and the low 16 bits of {@code Csv_c} reach the engine.
 */
public class RVXTextInfo {
    static {
        RVXnativeV3.loadLibrary();
        initFIDs();
    }

    public byte[] GroupName;
    public byte[] DefLangName;
    public int bBigEndian;
    public long Option;
    public long Option1;
    public long Size;
    public int Csv_c;

    /** Looks up the field IDs that the native library uses for this class. */
    static native void initFIDs();
}
