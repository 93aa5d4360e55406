package rvxdemo;

import static java.nio.charset.StandardCharsets.ISO_8859_1;
import static java.nio.charset.StandardCharsets.UTF_16LE;
import static java.nio.charset.StandardCharsets.UTF_8;
import static org.junit.jupiter.api.Assertions.assertAll;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;

import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;

/**
 * rvxtext through the bridge and the demonstration engine, on documents that
 * each test writes into its own folder.
 */
class RvxTextTest {
    @TempDir
    Path folder;

    /** What one run of rvxtext printed and returned. */
    record Run(int status, String out, String err) {
        String firstErrorLine() {
            return err.lines().findFirst().orElse("");
        }
    }

    private static Run run(String... args) {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        ByteArrayOutputStream err = new ByteArrayOutputStream();
        int status = new RvxText(new PrintStream(out, true, UTF_8), new PrintStream(err, true, UTF_8))
                .run(args);
        return new Run(status, out.toString(UTF_8), err.toString(UTF_8));
    }

    private String document(String name, byte[] content) throws IOException {
        Path path = folder.resolve(name);
        Files.write(path, content);
        return path.toString();
    }

    private static byte[] utf16le(String text) {
        byte[] body = text.getBytes(UTF_16LE);
        byte[] withMark = new byte[body.length + 2];
        withMark[0] = (byte) 0xFF;
        withMark[1] = (byte) 0xFE;
        System.arraycopy(body, 0, withMark, 2, body.length);
        return withMark;
    }

    @Test
    void infoTellsFormatEncodingSizeAndPages() throws IOException {
        String file = document("two-pages.txt", "one\ftwo\n".getBytes(UTF_8));
        String expected = String.join("\n",
                "file:        " + file,
                "format:      Plain text",
                "sub-format:  ASCII",
                "country:     unknown",
                "bytes:       8",
                "pages:       2",
                "");
        assertEquals(new Run(0, expected, ""), run("info", file));
    }

    @Test
    void propsPrintsEachNonEmptyPropertyOnItsLine() throws IOException {
        byte[] content = "\n  Café plan\n\nFirst\nparagraph\n\nSecond\n".getBytes(UTF_8);
        String file = document("plan.txt", content);
        Run run = run("props", file);
        assertEquals(0, run.status());
        assertEquals("", run.err());
        List<String> lines = run.out().lines().toList();
        assertAll(
                () -> assertTrue(lines.contains("title: Café plan"), run.out()),
                () -> assertTrue(lines.contains("paragraphs: 3"), run.out()),
                () -> assertTrue(lines.contains("bytes: " + content.length), run.out()),
                () -> assertTrue(lines.contains("descriptive_type: Plain text, UTF-8"), run.out()),
                () -> assertTrue(lines.contains("descriptive_name: plan.txt"), run.out()),
                () -> assertTrue(lines.stream().allMatch(line -> line.matches("\\w+: .+")),
                        run.out()));
    }

    @Test
    void textGoesToStandardOutputAsUtf8() throws IOException {
        String latin1 = document("latin1.txt", "café\fpage two\n".getBytes(ISO_8859_1));
        String utf16 = document("utf16.txt", utf16le("Ωmega\fend"));
        String[][] cases = {
            // arguments..., expected standard output
            {"text", latin1, "café\fpage two\n"},
            {"text", latin1, "--page", "1", "café"},
            {"text", latin1, "--page", "2", "page two\n"},
            {"text", latin1, "--page", "0", latin1 + ": 2 pages\n"},
            {"text", utf16, "Ωmega\fend"},
            {"text", utf16, "--page", "2", "end"},
        };
        for (String[] c : cases) {
            String[] args = java.util.Arrays.copyOf(c, c.length - 1);
            assertEquals(new Run(0, c[c.length - 1], ""), run(args), String.join(" ", args));
        }
    }

    @Test
    void textGoesIntoTheOutputFile() throws IOException {
        String file = document("latin1.txt", "café\fpage two\n".getBytes(ISO_8859_1));
        Path whole = folder.resolve("whole.txt");
        Path second = folder.resolve("second.txt");
        assertEquals(new Run(0, "", ""), run("text", file, "--out", whole.toString()));
        assertEquals(new Run(0, "", ""),
                run("text", file, "--page", "2", "--out", second.toString()));
        assertArrayEquals("café\fpage two\n".getBytes(UTF_8), Files.readAllBytes(whole));
        assertArrayEquals("page two\n".getBytes(UTF_8), Files.readAllBytes(second));
    }

    @Test
    void failuresAreOneLineWithTheEngineCodeAndAnExitStatus() throws IOException {
        String text = document("two-pages.txt", "one\ftwo\n".getBytes(UTF_8));
        String binary = document("image.png", new byte[] {(byte) 0x89, 'P', 'N', 'G', 0, 0, 0, 13});
        String missing = folder.resolve("missing.txt").toString();
        String unwritable = folder.resolve("no-such-folder").resolve("out.txt").toString();
        String dir = folder.toString();
        List<Object[]> cases = new ArrayList<>();
        // status, first line on standard error, arguments...
        cases.add(new Object[] {1, "rvxtext: " + missing + ": engine code 1: the document does not exist",
            "info", missing});
        cases.add(new Object[] {1, "rvxtext: " + dir + ": engine code 2: the document cannot be read",
            "props", dir});
        cases.add(new Object[] {1, "rvxtext: " + binary + ": engine code 3: not a plain-text document",
            "info", binary});
        cases.add(new Object[] {1, "rvxtext: " + binary + ": engine code 3: not a plain-text document",
            "text", binary});
        cases.add(new Object[] {1, "rvxtext: " + text + ": engine code 4: no such page",
            "text", text, "--page", "3"});
        cases.add(new Object[] {1, "rvxtext: " + text + ": engine code 4: no such page",
            "text", text, "--page", "-1", "--out", folder.resolve("page.txt").toString()});
        cases.add(new Object[] {1, "rvxtext: " + text + ": engine code 5: the output file cannot be written",
            "text", text, "--out", unwritable});
        cases.add(new Object[] {2, "rvxtext: no command"});
        cases.add(new Object[] {2, "rvxtext: no file", "info"});
        cases.add(new Object[] {2, "rvxtext: unknown command 'show'", "show", text});
        cases.add(new Object[] {2, "rvxtext: unexpected argument 'extra'", "info", text, "extra"});
        cases.add(new Object[] {2, "rvxtext: --page needs a value", "text", text, "--page"});
        cases.add(new Object[] {2, "rvxtext: page 'two' is not a number", "text", text, "--page", "two"});
        cases.add(new Object[] {2, "rvxtext: unknown option '--pages'", "text", text, "--pages", "1"});
        for (Object[] c : cases) {
            String[] args = new String[c.length - 2];
            for (int i = 2; i < c.length; i++) {
                args[i - 2] = (String) c[i];
            }
            Run run = run(args);
            String label = String.join(" ", args);
            assertEquals(c[0], run.status(), label);
            assertEquals(c[1], run.firstErrorLine(), label);
            assertEquals("", run.out(), label);
        }
    }
}
