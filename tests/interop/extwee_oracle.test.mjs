// extwee (a Twine-compatible compiler, used here only as an oracle) against cardwright-cli import and
// export: a story read as Twee and as the Twine 2 HTML extwee makes of it gives the same project, and
// extwee reads every exported story back with the same passages and links.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { parseTwee } from '../e2e/node_modules/extwee/index.js';

const cli = process.env.CW_CLI;
const stories = process.env.CW_STORIES;
const out = process.env.CW_OUT;
fs.rmSync(out, { recursive: true, force: true });
fs.mkdirSync(out, { recursive: true });

function run(...args) {
    const r = spawnSync(cli, args, { encoding: 'utf8', env: { ...process.env, CARDWRIGHT_WORK: path.join(out, 'work') } });
    return { status: r.status, stdout: r.stdout, stderr: r.stderr };
}

function dump(cwp) {
    const r = run('dump', cwp);
    assert.equal(r.status, 0, r.stderr);
    return JSON.parse(r.stdout);
}

const storyFiles = fs.readdirSync(stories).filter((f) => f.endsWith('.twee')).sort();

test('a story as Twee and as extwee\'s Twine 2 HTML gives the same project and warnings', () => {
    assert.ok(storyFiles.length >= 3);
    for (const file of storyFiles) {
        const base = path.join(out, path.basename(file, '.twee'));
        const story = parseTwee(fs.readFileSync(path.join(stories, file), 'utf8'));
        const html = `<!DOCTYPE html>\n<html><head><meta charset="utf-8"><title>${story.name}</title></head>` +
            `<body>\n${story.toTwine2HTML()}\n</body></html>\n`;
        fs.writeFileSync(base + '.html', html);
        const fromTwee = run('import', path.join(stories, file), '-o', base + '-twee.cwp');
        const fromHtml = run('import', base + '.html', '-o', base + '-html.cwp');
        assert.equal(fromTwee.status, 0, fromTwee.stderr);
        assert.equal(fromHtml.status, 0, fromHtml.stderr);
        // Twine 2 HTML keeps the story's code in one <script> of its own name: the skipped code passages
        // are compared by number.
        const skipped = /^warning: passage "[^"]*": skipped .*$/gm;
        assert.equal(fromHtml.stderr.replace(skipped, 'skipped'), fromTwee.stderr.replace(skipped, 'skipped'), file);
        assert.deepEqual(dump(base + '-html.cwp'), dump(base + '-twee.cwp'), file);
        assert.ok(dump(base + '-twee.cwp').cards.length >= 3, file);
    }
});

// The passage names a passage's text leads to, in order: Twine links and SugarCube gotos.
function targets(text) {
    const found = [];
    const re = /\[\[((?:[^\]]|\](?!\]))+)\]\]|<<goto "((?:[^"\\]|\\.)*)">>/g;
    for (const m of text.matchAll(re)) {
        if (m[2] !== undefined) {
            found.push(m[2].replace(/\\(.)/g, '$1'));
            continue;
        }
        const inner = m[1].split('][')[0];
        const back = inner.indexOf('<-');
        const arrow = inner.lastIndexOf('->');
        const bar = inner.lastIndexOf('|');
        found.push(back >= 0 ? inner.slice(0, back) : arrow >= 0 ? inner.slice(arrow + 2) : bar >= 0 ? inner.slice(bar + 1) : inner);
    }
    return found;
}

test('extwee reads exported stories with the same passages and links', () => {
    const projects = ['Greeting', 'Quiz', 'Story'].map((n) => path.join(process.env.CW_DATA, 'Themes', n + '.cwp'));
    for (const file of storyFiles) {
        projects.push(path.join(out, path.basename(file, '.twee') + '-twee.cwp'));
    }
    for (const cwp of projects) {
        assert.ok(fs.existsSync(cwp), cwp);
        const twee = path.join(out, path.basename(cwp, '.cwp') + '.exported.twee');
        const r = run('export', cwp, '--twee', twee);
        assert.equal(r.status, 0, r.stderr);
        const story = parseTwee(fs.readFileSync(twee, 'utf8'));
        const project = dump(cwp);
        const passages = story.passages.filter((p) => p.name !== 'StoryTitle' && p.name !== 'StoryData');
        assert.equal(passages.length, project.cards.length, cwp);
        assert.equal(story.start, passages[0].name, cwp);
        assert.match(story.IFID, /^[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}$/);
        const names = passages.map((p) => p.name);
        assert.equal(new Set(names).size, names.length, 'passage names are unique');
        project.cards.forEach((card, i) => {
            const expected = [];
            for (const link of card.links) {
                const order = link.m_strCompare ? [link.m_nThenGoto, link.m_nGoto] : [link.m_nGoto];
                for (const ref of order) {
                    if (ref >= 0 && ref < names.length) {
                        expected.push(names[ref]);
                    }
                }
            }
            assert.deepEqual(targets(passages[i].text), expected, `${cwp}: card ${i}`);
            if (card.m_strTitle.trim() === card.m_strTitle && card.m_strTitle !== '') {
                assert.ok(names[i] === card.m_strTitle || names[i].startsWith(card.m_strTitle + ' ('), names[i]);
            }
        });
    }
});
