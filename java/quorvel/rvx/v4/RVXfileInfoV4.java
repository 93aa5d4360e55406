package quorvel.rvx.v4;

/**
 * What kind of document a file is, as the engine's file-information call
 * reports it: format, sub-format and country as the engine's bytes, and two
 * engine-defined integers.
 */
public class RVXfileInfoV4 {
    public final byte[] DocFormat;
    public final byte[] DocSubFormat;
    public final byte[] DocCountry;
    public final int Value1;
    public final int Value2;

    public RVXfileInfoV4(byte[] docFormat, byte[] docSubFormat, byte[] docCountry, int value1, int value2) {
        DocFormat = docFormat;
        DocSubFormat = docSubFormat;
        DocCountry = docCountry;
        Value1 = value1;
        Value2 = value2;
    }
}
