// The demo kit's editor: shows in a window what it was started with, as the
// kit's editor is started from the source folder with
//   java -cp CLASSPATH Editor BASE PACKAGES [DATA]
// and which file it would open: BASE.* in the first package of the list.
// Without a display it writes the same to its standard output.
import java.awt.BorderLayout;
import java.awt.Font;
import java.awt.GraphicsEnvironment;
import java.io.File;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JScrollPane;
import javax.swing.JTextArea;
import javax.swing.SwingUtilities;

public class Editor {
    public static void main(String[] args) {
        String report = report(args);
        if (GraphicsEnvironment.isHeadless()) {
            System.out.print(report);
            return;
        }
        SwingUtilities.invokeLater(() -> show(args, report));
    }

    static String report(String[] args) {
        StringBuilder text = new StringBuilder();
        text.append("Working folder: ").append(System.getProperty("user.dir")).append('\n');
        text.append("Class path: ").append(System.getProperty("java.class.path")).append('\n');
        text.append("Arguments:\n");
        for (int i = 0; i < args.length; ++i)
            text.append("  [").append(i + 1).append("] ").append(args[i]).append('\n');
        String base = args.length > 0 ? args[0] : "";
        String[] packages = args.length > 1 ? args[1].split(";") : new String[0];
        text.append("Function block: ").append(base).append('\n');
        text.append("Package search list: ").append(String.join(", ", packages)).append('\n');
        text.append("Data packages: ").append(args.length > 2 ? args[2] : "").append('\n');
        // The first package is the one selected: the file is looked for there.
        if (packages.length > 0 && !packages[0].isEmpty()) {
            File folder = new File(packages[0].replace('\\', File.separatorChar));
            File[] found = folder.listFiles((dir, name) -> name.startsWith(base + "."));
            text.append(found != null && found.length > 0 ? "Would open: " + found[0].getPath()
                                                          : "No " + base + ".* in " + folder.getPath()).append('\n');
        }
        return text.toString();
    }

    static void show(String[] args, String report) {
        JFrame frame = new JFrame("Editor - " + (args.length > 0 ? args[0] : ""));
        frame.setDefaultCloseOperation(JFrame.DISPOSE_ON_CLOSE);
        JPanel panel = new JPanel(new BorderLayout(0, 8));
        panel.setBorder(BorderFactory.createEmptyBorder(10, 10, 10, 10));
        panel.add(new JLabel("The editor was started with:"), BorderLayout.NORTH);
        JTextArea text = new JTextArea(report, 12, 70);
        text.setEditable(false);
        text.setFont(new Font(Font.MONOSPACED, Font.PLAIN, 12));
        panel.add(new JScrollPane(text), BorderLayout.CENTER);
        JButton close = new JButton("Close");
        close.addActionListener(e -> frame.dispose());
        JPanel buttons = new JPanel(new BorderLayout());
        buttons.add(close, BorderLayout.EAST);
        panel.add(buttons, BorderLayout.SOUTH);
        frame.setContentPane(panel);
        frame.pack();
        frame.setLocationByPlatform(true);
        frame.setVisible(true);
    }
}
